#include "document/MavDoc.h"

#include "image/BmpFile.h"
#include "image/ConvertPackedDib.h"
#include "image/JpegFile.h"
#include "image/PictureCalibration.h"
#include "image/PictureFileContents.h"
#include "image/PictureFiles.h"
#include "image/PngFile.h"
#include "image/TiffFile.h"
#include "platform/UserPrompts.h"

#include <cstring>
#include <optional>

namespace halvera {

namespace {

constexpr int kReadError = 1;

void ReportMemoryError() {
    ShowMessage("Memory error!", MessageIcon::Stop);
}

// Where the rows of an uncompressed 24-bit picture start: after its header,
// however long, and after a colour table of biClrUsed entries if it carries
// one. -1 when the block is too short to hold header, table and rows.
// A file with pages or sample depth the document does not have would lose
// them: the user says whether to replace it.
bool MayReplaceRicherFile(const std::string& path) {
    const std::string warning = InspectPictureFile(path).ReplaceWarning();
    return warning.empty() || ShowMessage(warning + " Save anyway?", MessageIcon::Warning,
                                          MessageButtons::YesNo) == MessageAnswer::Yes;
}

int64_t PictureRowsOffset(const PackedDib& picture) {
    const BitmapInfoHeader& header = *picture.header();
    if (header.biSize < sizeof(BitmapInfoHeader))
        return -1;
    const int64_t offset = int64_t{header.biSize} + int64_t{header.biClrUsed} * 4;
    const int64_t rows = DibStride(header.biWidth, 24) * header.biHeight;
    if (offset + rows > static_cast<int64_t>(picture.size()))
        return -1;
    return offset;
}

} // namespace

CMavDoc::CMavDoc(AppSettings& settings) : settings_(settings) {}

bool CMavDoc::OnNewDocument(PackedDib pending) {
    ReleaseBuffers();
    if (pending) {
        if (!TakePendingPicture(pending) || !CreateCompanions())
            return false;
        // A scanned or captured picture exists in no file yet: a window
        // closed on it without a question would lose it.
        savedState_.ChangedOutsideHistory();
        return true;
    }
    if (!CreateRgb(image_, settings_.ImageWidth, settings_.ImageHeight)) {
        ReportMemoryError();
        return false;
    }
    const CDibImage dib = image_.dib();
    std::memset(dib.bits, 255, static_cast<size_t>(dib.bitsSize));
    return CreateCompanions();
}

bool CMavDoc::TakePendingPicture(const PackedDib& picture) {
    if (picture.size() < sizeof(BitmapInfoHeader)) {
        ShowMessage("Cannot scan the image!", MessageIcon::Warning);
        return false;
    }
    const BitmapInfoHeader& header = *picture.header();
    if (header.biBitCount != 24) {
        ShowMessage("Please scan 24 bits image", MessageIcon::Warning);
        return false;
    }
    if (header.biWidth < 1 || header.biWidth > kMaxDibSide || header.biHeight < 1 ||
        header.biHeight > kMaxDibSide) {
        ShowMessage("Cannot scan the image!", MessageIcon::Warning);
        return false;
    }
    if (header.biCompression != 0) {
        ShowMessage("Pleas input uncompressed 24 bits image!", MessageIcon::Warning);
        return false;
    }
    const int64_t rowsOffset = PictureRowsOffset(picture);
    if (rowsOffset < 0) {
        ShowMessage("Cannot scan the image!", MessageIcon::Warning);
        return false;
    }
    if (!CreateRgb(image_, header.biWidth, header.biHeight)) {
        ReportMemoryError();
        return false;
    }
    // The picture's own header values (resolution, image size) are kept; the
    // image has a 40-byte header and no colour table, whatever the picture had.
    const CDibImage dib = image_.dib();
    *dib.header = header;
    dib.header->biSize = sizeof(BitmapInfoHeader);
    dib.header->biClrUsed = 0;
    dib.header->biClrImportant = 0;
    std::memcpy(dib.bits, picture.data() + rowsOffset, static_cast<size_t>(dib.bitsSize));
    return true;
}

bool CMavDoc::OnOpenDocument(PackedDib picture) {
    ReleaseBuffers();
    if (picture.size() < sizeof(BitmapInfoHeader)) {
        CBmpFile::ReportFileError(kReadError);
        return false;
    }
    const BitmapInfoHeader& header = *picture.header();
    const int depth = PackedDibDepth(header);
    if (depth != 1 && depth != 4 && depth != 8 && depth != 24) {
        CBmpFile::ReportFileError(kReadError);
        return false;
    }
    if (!CreateRgb(image_, header.biWidth, header.biHeight)) {
        ReportMemoryError();
        return false;
    }
    if (!ConvertPackedDib(picture, image_.dib())) {
        image_.release();
        CBmpFile::ReportFileError(kReadError);
        return false;
    }
    return CreateCompanions();
}

// The companions every image command may touch are made with the image; the
// initial copy, the map planes and the integer planes wait for their first use.
bool CMavDoc::CreateCompanions() {
    const int32_t width = image_.width();
    const int32_t height = image_.height();
    const bool created = CreateRgb(working_, width, height) && CreateGrey(mask_, width, height) &&
                         CreateGrey(savedMask_, width, height);
    if (!created) {
        ReleaseBuffers();
        ReportMemoryError();
        return false;
    }
    CopyBlock(working_.dib(), image_.dib());
    width_ = width;
    height_ = height;
    RememberSize();
    return true;
}

CDibImage CMavDoc::initialCopy() {
    if (initial_.empty() && !image_.empty()) {
        if (!CreateRgb(initial_, width_, height_)) {
            ReportMemoryError();
            return {};
        }
        CopyBlock(initial_.dib(), image_.dib());
    }
    return initial_.dib();
}

CDibImage CMavDoc::mapPlane(int index) {
    DibBlock& plane = mapPlanes_.at(index);
    if (plane.empty() && !image_.empty() && !CreateGrey(plane, width_, height_))
        ReportMemoryError();
    return plane.dib();
}

IntPlane& CMavDoc::intPlane(int index) {
    IntPlane& plane = intPlanes_.at(index);
    if (plane.count == 0 && !image_.empty()) {
        if (CreateIntPlane(plane, width_, height_))
            std::memset(plane.values.get(), 0, sizeof(int32_t) * static_cast<size_t>(plane.count));
        else
            ReportMemoryError();
    }
    return plane;
}

void CMavDoc::RememberSize() {
    settings_.ImageWidth = width_;
    settings_.ImageHeight = height_;
}

void CMavDoc::ReleaseBuffers() {
    for (DibBlock* block : {&image_, &working_, &initial_, &paste_, &mask_, &savedMask_, &outline_})
        block->release();
    for (DibBlock& plane : mapPlanes_)
        plane.release();
    for (IntPlane& plane : intPlanes_)
        plane = IntPlane{};
    width_ = height_ = kSizeBeforeCreation;
    undo_.Clear();
    savedState_.Reset();
}

bool CMavDoc::SaveByExtension(const std::string& path, RicherFile richer) {
    const PictureFileType type = PictureFileTypeOf(path);
    if (type == PictureFileType::None)
        return false;
    if (richer == RicherFile::Ask && !MayReplaceRicherFile(path))
        return false;
    bool written = false;
    switch (type) {
    case PictureFileType::Jpeg: {
        const std::optional<int> quality = Prompts().askJpegQuality();
        if (!quality)
            return false;
        written = CJpegFile().Write(path, image(), *quality);
        break;
    }
    case PictureFileType::Bmp:
        written = CBmpFile().Write(path, image());
        break;
    case PictureFileType::Png:
        written = CPngFile().Write(path, image(), CalibrationToWrite(settings_));
        break;
    case PictureFileType::Tiff:
        written = CTiffFile().Write(path, image(), CalibrationToWrite(settings_));
        break;
    case PictureFileType::None:
        return false;
    }
    if (written)
        savedState_.Saved();
    return written;
}

void CMavDoc::CopyToWorking() {
    CopyBlock(working_.dib(), image_.dib());
}

void CMavDoc::RestoreFromWorking() {
    CopyBlock(image_.dib(), working_.dib());
}

void CMavDoc::SaveMask() {
    CopyBlock(savedMask_.dib(), mask_.dib());
}

bool CMavDoc::BeginStep(StepKind kind, const SelectionRecord& selection) {
    const bool recorded = undo_.RecordBefore(kind, image(), mask(), selection);
    savedState_.StepBegun(kind, recorded);
    return recorded;
}

void CMavDoc::EndStep(const SelectionRecord& selection) {
    const bool wasPending = undo_.pending();
    const bool kept = undo_.RecordAfter(image(), mask(), selection);
    if (wasPending)
        savedState_.StepEnded(kept);
}

SelectionRecord CMavDoc::Undo() {
    const int before = undo_.count();
    const SelectionRecord selection = undo_.Undo(image(), mask());
    if (undo_.count() != before)
        savedState_.Undone();
    return selection;
}

SelectionRecord CMavDoc::Redo() {
    const int before = undo_.count();
    const SelectionRecord selection = undo_.Redo(image(), mask());
    if (undo_.count() != before)
        savedState_.Redone();
    return selection;
}

void CMavDoc::CancelStep() {
    const bool pending = undo_.pending();
    const bool hasStep = pending || undo_.count() > 0;
    undo_.CancelStep();
    if (hasStep)
        savedState_.StepCancelled(pending);
}

void CMavDoc::SetModifiedFlag(bool modified) {
    if (modified)
        savedState_.ChangedOutsideHistory();
    else
        savedState_.Saved();
}

bool CMavDoc::BeginImageStep(const SelectionRecord& selection) {
    return BeginStep(StepKind::Image, selection);
}

bool CMavDoc::BeginMaskStep(const SelectionRecord& selection) {
    return BeginStep(StepKind::Mask, selection);
}

bool CMavDoc::BeginImageMaskStep(const SelectionRecord& selection) {
    return BeginStep(StepKind::ImageAndMask, selection);
}

} // namespace halvera
