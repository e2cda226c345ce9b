#pragma once

#include "document/MeasureData.h"
#include "document/SavedStateTracker.h"
#include "document/SelectionRecord.h"
#include "document/TextSettings.h"
#include "document/UndoBuffer.h"
#include "image/AppSettings.h"
#include "image/CalibrationRecord.h"
#include "image/DibImage.h"
#include "image/PackedDib.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace halvera {

// One open image: the main image and every same-sized companion buffer the
// editing commands work on, the text tool's settings for its window, and the
// undo history. The size is fixed at creation; no operation changes it.
//
// The document owns its blocks for its whole life; views and operations take
// descriptors (CDibImage copies) and never free them. It has no window code:
// whatever needs a message box or a question goes through Prompts().
//
// A creation that fails has shown its message before it returns; so has a
// save, except those that say nothing by design (a name of no picture type,
// No to replacing a richer file, and Cancel in the Quality dialog).
class CMavDoc {
public:
    static constexpr int kMapPlanes = 2;
    static constexpr int kIntPlanes = 2;
    static constexpr int32_t kSizeBeforeCreation = 8;

    explicit CMavDoc(AppSettings& settings);
    CMavDoc(const CMavDoc&) = delete;
    CMavDoc& operator=(const CMavDoc&) = delete;

    // Creates the document from a pending picture (a scanned or captured
    // uncompressed 24-bit packed DIB, taken over and freed in every case) or,
    // when `pending` is empty, as a white image of ImageWidth x ImageHeight.
    // A picture's size becomes ImageWidth and ImageHeight. A picture with a
    // larger header or a colour table gives its pixels from after them. A
    // document made from a picture starts modified (it is in no file yet); a
    // blank one does not.
    bool OnNewDocument(PackedDib pending = {});
    // Creates the document from a picture read by OpenPictureFile (depth 1, 4,
    // 8 or 24), converted to 24 bits; its size becomes ImageWidth and ImageHeight.
    bool OnOpenDocument(PackedDib picture);

    // Whether a save may replace a file that holds more than the document
    // (pages, 16-bit samples; PictureFileContents.h).
    enum class RicherFile { Ask, Replace };

    // Writes the main image by the ending of `path`, any case (PictureFiles.h):
    // ".JPG" and ".JPEG" ask for the quality first (Cancel writes nothing), ".BMP" writes a
    // 24-bit BMP, ".PNG" and ".TIF"/".TIFF" a lossless 8-bit RGB file carrying
    // the calibration in force unless it is the uncalibrated default
    // (PictureCalibration.h), anything else writes nothing and says nothing. Before all that, a file at `path`
    // holding more than this picture is kept unless `richer` is Replace or the
    // user answers Yes to "... Save anyway?". A successful write clears the
    // modified flag.
    bool SaveByExtension(const std::string& path, RicherFile richer = RicherFile::Ask);

    // Descriptors of the buffers. Blocks that do not exist describe no image.
    CDibImage image() const { return image_.dib(); }
    CDibImage working() const { return working_.dib(); }
    CDibImage pasteImage() const { return paste_.dib(); }
    CDibImage mask() const { return mask_.dib(); }
    CDibImage savedMask() const { return savedMask_.dib(); }
    CDibImage outline() const { return outline_.dib(); }
    // The buffers only some commands use are made when first asked for, so an
    // image costs memory only for what its commands need. Each is empty after
    // "Memory error!" when it cannot be made (or before the image exists).
    // The initial copy: the image as it is when first asked for; the reference
    // image of shade correction is read into it.
    CDibImage initialCopy();
    // Two further 8-bit maps of the image's size for the view, all 0 when made.
    CDibImage mapPlane(int index);
    // Two 32-bit integer maps of the image's size for the view, 0 when made.
    IntPlane& intPlane(int index);
    // The paste image and the outline plane are (re)created by their users.
    DibBlock& pasteBlock() { return paste_; }
    DibBlock& outlineBlock() { return outline_; }

    int32_t width() const { return width_; }
    int32_t height() const { return height_; }

    // The application's settings this document was created with; the tools
    // read their colour, sizes and calibration here.
    AppSettings& settings() const { return settings_; }

    // The measured shapes of this image, in image pixels.
    MeasureData& measureData() { return measureData_; }
    const MeasureData& measureData() const { return measureData_; }
    // The shapes as they are now were written to a file (an export of the
    // results, or the measurements kept beside the image).
    void MeasurementsWritten() { writtenMeasurements_ = measureData_; }
    // Whether the shapes are the ones last written; with none ever written,
    // whether there are none.
    bool MeasurementsAsWritten() const { return measureData_.SameItems(writtenMeasurements_); }

    // The calibration the picture's file or its measurement file carries;
    // empty when neither carries one. It is only kept here: the calibration
    // in force is the application's.
    const std::optional<NamedCalibration>& ownCalibration() const { return ownCalibration_; }
    void setOwnCalibration(const std::optional<NamedCalibration>& calibration) {
        ownCalibration_ = calibration;
    }

    const TextSettings& textSettings() const { return text_; }
    void setTextSettings(const TextSettings& text) { text_ = text; }

    // The working copy and the saved mask, each one block move.
    void CopyToWorking();
    void RestoreFromWorking();
    void SaveMask();

    // Undo steps around a change. Begin records the before-state and is false
    // when nothing could be recorded (another step pending, or no memory); the
    // change may still go ahead without a step. Image and image-and-mask steps
    // mark the document modified; mask steps do not. The kind stored with the
    // selection record is the one the operation's name says.
    bool BeginStep(StepKind kind, const SelectionRecord& selection);
    void EndStep(const SelectionRecord& selection);
    bool BeginImageStep(const SelectionRecord& selection);
    void EndImageStep(const SelectionRecord& selection) { EndStep(selection); }
    bool BeginMaskStep(const SelectionRecord& selection);
    void EndMaskStep(const SelectionRecord& selection) { EndStep(selection); }
    bool BeginImageMaskStep(const SelectionRecord& selection);
    void EndImageMaskStep(const SelectionRecord& selection) { EndStep(selection); }

    SelectionRecord Undo();
    SelectionRecord Redo();
    void CancelStep();
    bool CanUndo() const { return undo_.CanUndo(); }
    bool CanRedo() const { return undo_.CanRedo(); }
    const UndoBuffer& undoHistory() const { return undo_; }

    // Modified: the picture is not the one last written to a file (by Save or
    // Save As), followed through Undo and Redo. SetModifiedFlag(true) tells of
    // a change made without an undo step; SetModifiedFlag(false) makes the
    // picture shown now count as the saved one.
    bool IsModified() const { return savedState_.IsModified(); }
    void SetModifiedFlag(bool modified = true);
    // Where the window learns that IsModified() changed.
    SavedStateTracker& savedState() { return savedState_; }

    // The file the document was opened from or saved to; empty when never saved.
    const std::string& path() const { return path_; }
    void setPath(const std::string& path) { path_ = path; }
    // The name shown in the window caption ("HLV 1" for an untitled image).
    const std::string& title() const { return title_; }
    void setTitle(const std::string& title) { title_ = title; }

private:
    bool TakePendingPicture(const PackedDib& picture);
    bool CreateCompanions();
    void ReleaseBuffers();
    void RememberSize();

    AppSettings& settings_;

    DibBlock image_;
    DibBlock working_;
    DibBlock initial_;
    DibBlock paste_;
    DibBlock mask_;
    DibBlock savedMask_;
    DibBlock outline_;
    std::array<DibBlock, kMapPlanes> mapPlanes_;
    std::array<IntPlane, kIntPlanes> intPlanes_;
    TextSettings text_;
    int32_t width_ = kSizeBeforeCreation;
    int32_t height_ = kSizeBeforeCreation;
    UndoBuffer undo_;
    // The shapes measured on this image, kept beside it for the document's
    // life; they are not written to the image file.
    MeasureData measureData_;
    // A copy of the shapes as last written to a file: shapes that differ
    // would be lost when the window closes.
    MeasureData writtenMeasurements_;
    std::optional<NamedCalibration> ownCalibration_;

    SavedStateTracker savedState_;
    std::string path_;
    std::string title_;
};

} // namespace halvera
