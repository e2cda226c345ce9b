#pragma once

#include "app/RecentFileList.h"
#include "image/AppSettings.h"
#include "image/PackedDib.h"
#include "measure/OutputSelection.h"
#include "measure/ToleranceTable.h"
#include "platform/SettingsStore.h"
#include "view/ui/CommandMap.h"

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace halvera {

class CAutosaveService;
class CChildFrame;
class CMainFrame;
class CMavDoc;
class CScannerCommands;

// The application: holds the settings (loaded at start, saved at exit) and
// the recent-file list, creates the main window, and runs the commands that
// create or open images (New, Open, the recent files, Scan and Select
// scanner), Sign setting, Settings, About, Print Setup and Exit. It opens the
// files named on the command line or dropped on the main window.
class CHalveraApp : public CommandTarget {
public:
    // Loads the settings and the recent files from `store`, applying the limits.
    explicit CHalveraApp(std::unique_ptr<SettingsStore> store);
    // Saves the settings (ExitInstance).
    ~CHalveraApp() override;
    CHalveraApp(const CHalveraApp&) = delete;
    CHalveraApp& operator=(const CHalveraApp&) = delete;

    // The running application, or null.
    static CHalveraApp* Instance();

    // Start-up after the settings: the splash for a second when asked, then
    // the main window. The caller shows it (maximized).
    CMainFrame& InitInstance(bool showSplash);
    CMainFrame* mainFrame() const { return mainFrame_.get(); }

    AppSettings& settings() { return settings_; }
    // The store the settings come from; the calibration presets are kept there
    // as they change.
    SettingsStore& settingsStore() { return *store_; }
    // Select scanner and Scan, with the scan window.
    CScannerCommands& scanner() { return *scanner_; }
    RecentFileList& recentFiles() { return recentFiles_; }
    // The measurement tolerances and the output items, for this run only.
    ToleranceTable& tolerance() { return tolerance_; }
    OutputSelection& outputSelection() { return outputSelection_; }
    // Applies the limits and writes the settings and the recent files.
    void SaveSettings();
    // Gives the "Undo memory" setting to the undo histories' budget (at
    // start and whenever the Settings dialog changes it).
    void ApplyUndoMemory();
    // Gives a changed "Autosave minutes" setting to a running autosave.
    void ApplyAutosaveInterval();

    // Reads the picture at `path` by its last four characters and opens a
    // window on it; an image already open from that path is activated
    // instead. Null when nothing was read (the reader has said why).
    CChildFrame* OpenDocumentFile(const std::string& path);
    // Opens each file in turn as File, Open does (the command line, files
    // dropped on the main window); one that cannot be read has shown its
    // message and the others still open.
    void OpenFiles(const std::vector<std::string>& paths);
    // A new image from a picture (a scan or a video snapshot); an empty
    // picture creates nothing.
    CChildFrame* NewDocumentFromPicture(PackedDib picture);
    // A new blank image of ImageWidth x ImageHeight.
    CChildFrame* NewBlankDocument();

    // Autosave into `folder` from now on, every `interval` (zero: off until
    // the setting gives one); every image window, open or opened later, is
    // kept there while it holds unsaved work (CAutosaveService). The desktop
    // program starts it; without it nothing is written there.
    void StartAutosave(const std::string& folder, std::chrono::milliseconds interval);
    CAutosaveService* autosave() const { return autosave_.get(); }
    // Offers the recovery copies left by instances that did not end cleanly
    // (Prompts().askRecovery) and recovers, discards or keeps each as answered.
    void OfferRecovery();
    // Opens the recovery copy in `copyFile` as a modified image, with its
    // file (or untitled, as it was), selection and the calibration in force
    // when it was taken; the copy becomes this instance's copy of the image.
    // Null when the copy cannot be read (said in a message).
    CChildFrame* RecoverDocument(const std::string& copyFile);

    // The open images, in the order their windows were created.
    int CountDocuments() const;
    std::vector<CMavDoc*> ListDocuments() const;

    bool onCommand(int id) override;
    bool onUpdateCommand(int id, CommandState& state) override;
    static const CommandMap<CHalveraApp>& Commands();

private:
    void onFileNew();
    void onFileOpen();
    void onRecentFile(int id);
    void onUpdateRecentFile(int id, CommandState& state);
    void onAbout();
    void onPrintSetup();
    void onExit();
    // `adoptedCopy`: the recovery copy the image was recovered from.
    CChildFrame* addWindow(std::unique_ptr<CMavDoc> document, const std::string& adoptedCopy = {});

    std::unique_ptr<SettingsStore> store_;
    AppSettings settings_;
    RecentFileList recentFiles_;
    ToleranceTable tolerance_;
    OutputSelection outputSelection_;
    std::unique_ptr<CMainFrame> mainFrame_;
    std::unique_ptr<CScannerCommands> scanner_;
    std::unique_ptr<CAutosaveService> autosave_;
};

} // namespace halvera
