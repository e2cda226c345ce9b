// The compact undo history against a plain one that keeps a whole copy of
// every before- and after-state: over random sequences of steps of every
// kind, undos, redos, cancels and changes made without a step, the document
// must show exactly the bytes the plain history gives back.
#include "NewDocumentTest.h"
#include "document/MavDoc.h"

#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <vector>

namespace halvera {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes BytesOf(const CDibImage& block) {
    const auto* start = reinterpret_cast<const uint8_t*>(block.header);
    return Bytes(start, start + block.blockSize);
}

void Put(const CDibImage& block, const Bytes& bytes) {
    std::memcpy(block.header, bytes.data(), bytes.size());
}

// The history as whole copies: every step keeps its before- and after-bytes
// of the blocks it changes. Undo and Redo copy them back, a full history
// drops its oldest step, a new step discards the redoable ones, and a
// cancelled step brings back the steps it pushed out.
class PlainHistory {
public:
    struct Step {
        StepKind kind;
        Bytes imageBefore, imageAfter, maskBefore, maskAfter;
        SelectionRecord before, after;
        int slots() const { return kind == StepKind::ImageAndMask ? 2 : 1; }
    };

    void Begin(StepKind kind, const CDibImage& image, const CDibImage& mask,
               SelectionRecord selection) {
        selection.setKind(kind);
        steps_.resize(count_);
        dropped_.clear();
        Step step{kind, {}, {}, {}, {}, selection, {}};
        while (SlotsUsed() + step.slots() > UndoBuffer::kSlots) {
            dropped_.push_back(steps_.front());
            steps_.erase(steps_.begin());
            --count_;
        }
        if (kind != StepKind::Mask)
            step.imageBefore = BytesOf(image);
        if (kind != StepKind::Image)
            step.maskBefore = BytesOf(mask);
        pending_ = step;
    }

    void End(const CDibImage& image, const CDibImage& mask, SelectionRecord selection) {
        Step step = *pending_;
        pending_.reset();
        selection.setKind(step.kind);
        step.after = selection;
        if (step.kind != StepKind::Mask)
            step.imageAfter = BytesOf(image);
        if (step.kind != StepKind::Image)
            step.maskAfter = BytesOf(mask);
        steps_.push_back(step);
        ++count_;
    }

    void Cancel() {
        if (pending_)
            pending_.reset();
        else if (count_ > 0)
            steps_.resize(--count_);
        else
            return;
        steps_.resize(count_);
        steps_.insert(steps_.begin(), dropped_.begin(), dropped_.end());
        count_ += dropped_.size();
        dropped_.clear();
    }

    const Step* Undo() {
        if (pending_ || count_ == 0)
            return nullptr;
        dropped_.clear();
        return &steps_[--count_];
    }

    const Step* Redo() {
        if (pending_ || count_ == steps_.size())
            return nullptr;
        dropped_.clear();
        return &steps_[count_++];
    }

    bool pending() const { return pending_.has_value(); }

private:
    int SlotsUsed() const {
        int slots = 0;
        for (size_t i = 0; i < count_; ++i)
            slots += steps_[i].slots();
        return slots;
    }

    std::vector<Step> steps_;
    std::vector<Step> dropped_;
    std::optional<Step> pending_;
    size_t count_ = 0;
};

// A document of several chunks (image 640 x 480, its mask over one chunk)
// driven through random operations alongside the plain history.
class CompactUndoEquality : public testing::NewDocumentTest {
protected:
    void SetUp() override { ASSERT_TRUE(NewDocument(640, 480)); }

    enum class Change { Fill, Invert, Noise };

    // Changes a random rectangle of `block`, from one row to the whole block.
    void ChangeRegion(const CDibImage& block) {
        const int32_t bytesPerRow = block.stride;
        const int32_t top = Pick(0, block.height - 1);
        const int32_t rows =
            Pick(1, Pick(0, 3) == 0 ? block.height - top : std::min(12, block.height - top));
        const int32_t left = Pick(0, bytesPerRow - 1);
        const int32_t width = Pick(1, bytesPerRow - left);
        const auto change = static_cast<Change>(Pick(0, 2));
        const auto value = static_cast<uint8_t>(Pick(0, 255));
        for (int32_t y = top; y < top + rows; ++y) {
            uint8_t* row = block.row(y) + left;
            for (int32_t x = 0; x < width; ++x)
                row[x] = change == Change::Fill     ? value
                         : change == Change::Invert ? static_cast<uint8_t>(~row[x])
                                                    : static_cast<uint8_t>(random_());
        }
    }

    SelectionRecord RandomSelection() {
        SelectionRecord selection;
        for (int32_t& word : selection.words)
            word = Pick(-5, 5);
        return selection;
    }

    void Step(StepKind kind, bool cancel, bool unchanged) {
        const SelectionRecord selection = RandomSelection();
        const Bytes image = BytesOf(doc.image());
        const Bytes mask = BytesOf(doc.mask());
        plain_.Begin(kind, doc.image(), doc.mask(), selection);
        ASSERT_TRUE(doc.BeginStep(kind, selection));
        if (!unchanged) {
            if (kind != StepKind::Mask)
                ChangeRegion(doc.image());
            if (kind != StepKind::Image)
                ChangeRegion(doc.mask());
        }
        if (cancel) {
            // A dialog's Cancel: the step goes and the blocks are put back.
            plain_.Cancel();
            doc.CancelStep();
            Put(doc.image(), image);
            Put(doc.mask(), mask);
            return;
        }
        SelectionRecord after = RandomSelection();
        plain_.End(doc.image(), doc.mask(), after);
        doc.EndStep(after);
        ExpectWhatIsShown();
    }

    // After a change made here, the document must keep showing it.
    void ExpectWhatIsShown() {
        Put(expectedImage_, BytesOf(doc.image()));
        Put(expectedMask_, BytesOf(doc.mask()));
    }

    void Undo() {
        const PlainHistory::Step* step = plain_.Undo();
        const SelectionRecord selection = doc.Undo();
        if (!step)
            return;
        EXPECT_EQ(selection, step->before);
        if (step->kind != StepKind::Mask)
            Put(expectedImage_, step->imageBefore);
        if (step->kind != StepKind::Image)
            Put(expectedMask_, step->maskBefore);
    }

    void Redo() {
        const PlainHistory::Step* step = plain_.Redo();
        const SelectionRecord selection = doc.Redo();
        if (!step)
            return;
        EXPECT_EQ(selection, step->after);
        if (step->kind != StepKind::Mask)
            Put(expectedImage_, step->imageAfter);
        if (step->kind != StepKind::Image)
            Put(expectedMask_, step->maskAfter);
    }

    // One random operation; after it the document must hold what the plain
    // history says (for steps and changes without one: what was drawn).
    void RandomOperation() {
        switch (Pick(0, 11)) {
        case 0:
        case 1:
        case 2:
            Step(StepKind::Image, false, false);
            break;
        case 3:
            Step(StepKind::Mask, false, false);
            break;
        case 4:
            Step(StepKind::ImageAndMask, false, false);
            break;
        case 5:
            Step(StepKind::Image, Pick(0, 1) == 0, Pick(0, 1) == 0);
            break;
        case 6: // the Cancel of a step already ended
            plain_.Cancel();
            doc.CancelStep();
            break;
        case 7: // a change without a step (a zoom-frame render, a nudged paste)
            ChangeRegion(doc.image());
            ExpectWhatIsShown();
            break;
        case 8:
        case 9:
            Undo();
            break;
        default:
            Redo();
            break;
        }
    }

    int32_t Pick(int32_t low, int32_t high) {
        return std::uniform_int_distribution<int32_t>(low, high)(random_);
    }

    std::mt19937 random_;
    PlainHistory plain_;
    DibBlock expectedImageBlock_;
    DibBlock expectedMaskBlock_;
    CDibImage expectedImage_;
    CDibImage expectedMask_;

    void MakeExpectedBlocks() {
        ASSERT_TRUE(CreateRgb(expectedImageBlock_, doc.width(), doc.height()));
        ASSERT_TRUE(CreateGrey(expectedMaskBlock_, doc.width(), doc.height()));
        expectedImage_ = expectedImageBlock_.dib();
        expectedMask_ = expectedMaskBlock_.dib();
        ExpectWhatIsShown();
    }

    void RunSequence(uint32_t seed, int operations) {
        random_.seed(seed);
        MakeExpectedBlocks();
        for (int i = 0; i < operations; ++i) {
            RandomOperation();
            if (doc.undoHistory().pending())
                continue;
            // After an undo or redo the expected blocks hold the plain
            // history's copy; after a drawing, what was drawn.
            ASSERT_EQ(BytesOf(doc.image()), BytesOf(expectedImage_))
                << "seed " << seed << ", operation " << i;
            ASSERT_EQ(BytesOf(doc.mask()), BytesOf(expectedMask_))
                << "seed " << seed << ", operation " << i;
        }
    }
};

TEST_F(CompactUndoEquality, RandomSequencesGiveTheBytesOfWholeCopies) {
    for (uint32_t seed = 1; seed <= 8; ++seed) {
        ASSERT_TRUE(NewDocument(640, 480));
        plain_ = PlainHistory{};
        RunSequence(seed, 160);
    }
}

TEST_F(CompactUndoEquality, LongHistoriesPastTheirLimitStayExact) {
    // Mostly steps, so the history stays full and drops its oldest steps;
    // then everything is undone and redone against the plain copies.
    random_.seed(99);
    MakeExpectedBlocks();
    for (int i = 0; i < 40; ++i)
        Step(i % 5 == 0 ? StepKind::ImageAndMask : StepKind::Image, false, false);
    EXPECT_EQ(doc.undoHistory().count(), UndoBuffer::kSlots);
    for (bool more = true; more;) {
        more = doc.CanUndo();
        Undo();
        ASSERT_EQ(BytesOf(doc.image()), BytesOf(expectedImage_));
        ASSERT_EQ(BytesOf(doc.mask()), BytesOf(expectedMask_));
    }
    for (bool more = true; more;) {
        more = doc.CanRedo();
        Redo();
        ASSERT_EQ(BytesOf(doc.image()), BytesOf(expectedImage_));
        ASSERT_EQ(BytesOf(doc.mask()), BytesOf(expectedMask_));
    }
}

} // namespace
} // namespace halvera
