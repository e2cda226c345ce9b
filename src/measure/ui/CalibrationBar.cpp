#include "measure/ui/CalibrationBar.h"

#include "document/MavDoc.h"
#include "measure/CalFile.h"
#include "measure/CalibrationPresets.h"
#include "measure/MeasureNumber.h"
#include "measure/MicrometerTicks.h"
#include "measure/PresetQuestions.h"
#include "measure/RulerCalibration.h"
#include "measure/TypedRealSize.h"
#include "measure/ui/CalibrationTool.h"
#include "platform/UserPrompts.h"
#include "view/ui/MavView.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QValidator>
#include <cstdlib>

namespace halvera {

namespace {

constexpr const char* kNotANumber = "The real size must be a number, such as 12.5.";
// How far to either side of a leg its ticks are looked for, in image pixels.
constexpr int32_t kLegBand = 24;
constexpr const char* kInitialTickSpacing = "10.000000";
constexpr const char* kModified = " (modified)";

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

QString UnitText(int unit) {
    const std::string_view name = RulerUnitName(unit);
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

std::optional<double> TypedRealSize(const QString& text) {
    return ParseTypedRealSize(text.toStdString());
}

// Lets anything be typed (a number is often not one halfway through) but
// accepts only a number, so the edit tells whether it holds one.
class RealSizeValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& text, int&) const override {
        return TypedRealSize(text) ? Acceptable : Intermediate;
    }
};

// A size that is not a number shows in red on a pale red field.
void ShowWhetherANumber(QLineEdit* edit) {
    QPalette palette = QApplication::palette(edit);
    if (!edit->hasAcceptableInput()) {
        palette.setColor(QPalette::Base, QColor(255, 220, 220));
        palette.setColor(QPalette::Text, QColor(192, 0, 0));
    }
    edit->setPalette(palette);
    edit->setToolTip(edit->hasAcceptableInput() ? QString() : QString::fromLatin1(kNotANumber));
}

QLineEdit* ReadOnlyField(const char* name) {
    auto* field = new QLineEdit;
    field->setReadOnly(true);
    field->setObjectName(QString::fromLatin1(name));
    return field;
}

FileDialogRequest CalFileDialog(bool save) {
    FileDialogRequest request;
    request.save = save;
    request.filter = "HLV file(*.Cal)|*.Cal||";
    request.proposedName = "Calibrate";
    request.defaultExtension = "Cal";
    request.promptOverwrite = true;
    request.pathMustExist = true;
    return request;
}

} // namespace

CCalibrationBar::CCalibrationBar(AppSettings& settings, SettingsStore& presetStore,
                                 std::function<CMavView*()> activeView, QWidget* parent)
    : QWidget(parent), settings_(settings), presetStore_(presetStore),
      activeView_(std::move(activeView)) {
    setWindowTitle(QStringLiteral("Calibrate"));
    buildLayout();
    // Until the ruler is first dragged the points are a placeholder a third
    // of the screen in and a ninth down.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->geometry() : QRect(0, 0, 1280, 800);
    const PixelPoint origin{area.width() / 3, area.height() / 9};
    saved_.unit = settings.RulerUnit;
    saved_.realX = settings.xRealRulerData;
    saved_.realY = settings.yRealRulerData;
    saved_.width = settings.xPixelRulerData;
    saved_.height = settings.yPixelRulerData;
    saved_.origin = origin;
    saved_.horizontalEnd = {origin.x + saved_.width, origin.y};
    saved_.verticalEnd = {origin.x, origin.y + saved_.height};
    working_ = saved_;
    chosenPreset_ = settings.RulerPreset;
    reloadPresets();
    fullRefresh();
}

void CCalibrationBar::buildLayout() {
    auto* result = new QGroupBox(QStringLiteral("Result"));
    auto* resultGrid = new QGridLayout(result);
    xRuler_ = new QLabel;
    xRuler_->setObjectName(QStringLiteral("xRuler"));
    yRuler_ = new QLabel;
    yRuler_->setObjectName(QStringLiteral("yRuler"));
    for (QLabel*& label : unitLabels_)
        label = new QLabel;
    resultGrid->addWidget(new QLabel(QStringLiteral("X ruler")), 0, 0);
    resultGrid->addWidget(xRuler_, 0, 1);
    resultGrid->addWidget(unitLabels_[0], 0, 2);
    resultGrid->addWidget(new QLabel(QStringLiteral("/pixel")), 0, 3);
    resultGrid->addWidget(new QLabel(QStringLiteral("Y ruler")), 1, 0);
    resultGrid->addWidget(yRuler_, 1, 1);
    resultGrid->addWidget(unitLabels_[1], 1, 2);
    resultGrid->addWidget(new QLabel(QStringLiteral("/pixel")), 1, 3);

    auto* real = new QGroupBox(QStringLiteral("Real ruler"));
    auto* realGrid = new QGridLayout(real);
    unitList_ = new QComboBox;
    unitList_->setObjectName(QStringLiteral("unitList"));
    for (int unit = 0; unit < kRulerUnitCount; ++unit)
        unitList_->addItem(UnitText(unit));
    xSize_ = new QLineEdit;
    xSize_->setObjectName(QStringLiteral("xSize"));
    ySize_ = new QLineEdit;
    ySize_->setObjectName(QStringLiteral("ySize"));
    for (QLineEdit* edit : {xSize_, ySize_}) {
        edit->setValidator(new RealSizeValidator(edit));
        connect(edit, &QLineEdit::textChanged, edit, [edit] { ShowWhetherANumber(edit); });
    }
    for (QLineEdit* edit : {xSize_, ySize_})
        edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000.000000")) +
                              12);
    realGrid->addWidget(new QLabel(QStringLiteral("Unit")), 0, 0);
    realGrid->addWidget(unitList_, 0, 1);
    realGrid->addWidget(new QLabel(QStringLiteral("X Size")), 1, 0);
    realGrid->addWidget(xSize_, 1, 1);
    realGrid->addWidget(unitLabels_[2], 1, 2);
    realGrid->addWidget(new QLabel(QStringLiteral("Y Size")), 2, 0);
    realGrid->addWidget(ySize_, 2, 1);
    realGrid->addWidget(unitLabels_[3], 2, 2);
    tickSpacing_ = new QLineEdit(QString::fromLatin1(kInitialTickSpacing));
    tickSpacing_->setObjectName(QStringLiteral("tickSpacing"));
    auto* autoButton = new QPushButton(QStringLiteral("Auto"));
    autoButton->setObjectName(QStringLiteral("Auto"));
    connect(autoButton, &QPushButton::clicked, this, &CCalibrationBar::AutoFromTicks);
    realGrid->addWidget(new QLabel(QStringLiteral("Tick spacing")), 3, 0);
    realGrid->addWidget(tickSpacing_, 3, 1);
    realGrid->addWidget(autoButton, 3, 2);

    auto* pixels = new QGroupBox(QStringLiteral("Image ruler(pixel)"));
    auto* pixelGrid = new QGridLayout(pixels);
    startX_ = ReadOnlyField("startX");
    startY_ = ReadOnlyField("startY");
    endX_ = ReadOnlyField("endX");
    endY_ = ReadOnlyField("endY");
    width_ = ReadOnlyField("width");
    height_ = ReadOnlyField("height");
    for (QLineEdit* field : {startX_, startY_, endX_, endY_, width_, height_})
        field->setMinimumWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("-00000")) +
                               12);
    const std::pair<const char*, QLineEdit*> fields[] = {{"Start X", startX_}, {"Start Y", startY_},
                                                         {"End X", endX_},     {"End Y", endY_},
                                                         {"Width", width_},    {"Height", height_}};
    for (int i = 0; i < 6; ++i) {
        pixelGrid->addWidget(new QLabel(QString::fromLatin1(fields[i].first)), i / 2, (i % 2) * 2);
        pixelGrid->addWidget(fields[i].second, i / 2, (i % 2) * 2 + 1);
    }

    auto* buttons = new QHBoxLayout;
    const std::pair<const char*, void (CCalibrationBar::*)()> actions[] = {
        {"OK", &CCalibrationBar::Apply},
        {"Cancel", &CCalibrationBar::Cancel},
        {"Save", &CCalibrationBar::Save},
        {"Load", &CCalibrationBar::Load},
        {"Reset", &CCalibrationBar::Restore}};
    for (const auto& [text, action] : actions) {
        auto* button = new QPushButton(QString::fromLatin1(text));
        button->setObjectName(QString::fromLatin1(text));
        connect(button, &QPushButton::clicked, this, action);
        buttons->addWidget(button);
    }

    auto* presets = new QHBoxLayout;
    presetList_ = new QComboBox;
    presetList_->setObjectName(QStringLiteral("presetList"));
    presetList_->setPlaceholderText(QStringLiteral("No preset"));
    presetList_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    connect(presetList_, &QComboBox::activated, this, [this](int index) {
        ChoosePreset(presetList_->itemData(index).toString().toStdString());
    });
    auto* saveAsPreset = new QPushButton(QStringLiteral("Save as preset\u2026"));
    saveAsPreset->setObjectName(QStringLiteral("SaveAsPreset"));
    connect(saveAsPreset, &QPushButton::clicked, this, &CCalibrationBar::SaveAsPreset);
    deletePreset_ = new QPushButton(QStringLiteral("Delete"));
    deletePreset_->setObjectName(QStringLiteral("DeletePreset"));
    connect(deletePreset_, &QPushButton::clicked, this, &CCalibrationBar::DeletePreset);
    presets->addWidget(new QLabel(QStringLiteral("Preset")));
    presets->addWidget(presetList_, 1);
    presets->addWidget(saveAsPreset);
    presets->addWidget(deletePreset_);

    auto* layout = new QGridLayout(this);
    layout->addWidget(result, 0, 0);
    layout->addWidget(real, 0, 1);
    layout->addWidget(pixels, 0, 2);
    layout->addLayout(buttons, 1, 0, 1, 3);
    layout->addLayout(presets, 2, 0, 1, 3);

    connect(unitList_, &QComboBox::currentIndexChanged, this, [this] {
        readUnit();
        showScaleFactors();
        showPresetState();
    });
    // Only typing changes the working sizes: the bar's own refresh writes
    // both edits, and reading back its "%.6f" text would round the sizes.
    for (QLineEdit* edit : {xSize_, ySize_})
        connect(edit, &QLineEdit::textEdited, this, [this] {
            readRealSizes();
            showScaleFactors();
            showPresetState();
        });
}

void CCalibrationBar::UpdateFromRuler(PixelPoint origin, PixelPoint horizontalEnd,
                                      PixelPoint verticalEnd) {
    working_.origin = origin;
    working_.horizontalEnd = horizontalEnd;
    working_.verticalEnd = verticalEnd;
    working_.width = std::abs(horizontalEnd.x - origin.x);
    working_.height = std::abs(verticalEnd.y - origin.y);
    showPixelValues();
    showScaleFactors();
    showPresetState();
}

void CCalibrationBar::Apply() {
    CMavView* view = activeView_();
    if (!view || !realSizesAreNumbers())
        return;
    saved_ = working_;
    RulerCalibration calibration(settings_);
    StoreCalibration(calibration, {working_.unit, working_.realX, working_.realY, working_.width,
                                   working_.height});
    // Edited values are no longer the preset they were chosen as.
    if (!chosenPreset_.empty() && workingRecord() == chosenRecord_)
        calibration.SetPresetName(chosenPreset_);
    else
        chosenPreset_.clear();
    showPresetState();
    EndCalibration(*view);
}

// A size that is not a number would calibrate with whatever was there before.
bool CCalibrationBar::realSizesAreNumbers() {
    for (QLineEdit* edit : {xSize_, ySize_})
        if (!edit->hasAcceptableInput()) {
            ShowMessage(kNotANumber, MessageIcon::Warning);
            edit->setFocus();
            return false;
        }
    return true;
}

void CCalibrationBar::Restore() {
    CMavView* view = activeView_();
    if (!view)
        return;
    working_ = saved_;
    fullRefresh();
    RestoreCalibrationTool(*view);
}

void CCalibrationBar::Cancel() {
    CMavView* view = activeView_();
    if (!view)
        return;
    Restore();
    EndCalibration(*view);
}

void CCalibrationBar::Save() {
    const std::optional<std::string> path = Prompts().askFileName(CalFileDialog(true));
    if (!path)
        return;
    // A file that cannot be written is passed over without a word.
    WriteCalFile(*path,
                 {working_.unit, working_.realX, working_.realY, working_.width, working_.height});
}

void CCalibrationBar::Load() {
    CMavView* view = activeView_();
    if (!view)
        return;
    const std::optional<std::string> path = Prompts().askFileName(CalFileDialog(false));
    if (!path)
        return;
    CalibrationRecord record;
    const CalFileRead read = ReadCalFile(*path, record);
    if (read == CalFileRead::CannotOpen)
        return;
    if (read == CalFileRead::NotACalFile) {
        ShowMessage(kCalFileUnreadable, MessageIcon::Stop);
        return;
    }
    // The settings take the file's values through their limits, and the bar
    // shows what they keep (a unit outside the list or a pixel size of 0
    // cannot reach the scale factors).
    RulerCalibration calibration(settings_);
    StoreCalibration(calibration, record);
    working_.unit = calibration.unit();
    working_.realX = calibration.realX();
    working_.realY = calibration.realY();
    working_.width = calibration.pixelX();
    working_.height = calibration.pixelY();
    chosenPreset_.clear();
    fullRefresh();
    RestoreCalibrationTool(*view);
}

void CCalibrationBar::AutoFromTicks() {
    CMavView* view = activeView_();
    if (!view)
        return;
    const double spacing = AppSettings::ParseRulerReal(tickSpacing_->text().toStdString());
    if (!(spacing > 0.0)) {
        ShowMessage("Type the spacing of the micrometer's ticks first.", MessageIcon::Warning);
        return;
    }
    const CDibImage image = view->document().image();
    const PixelPoint o = working_.origin;
    const auto x = FitTickPeriod(
        image, {o.x, o.y - kLegBand, working_.horizontalEnd.x, o.y + kLegBand}, TickAxis::X);
    const auto y = FitTickPeriod(
        image, {o.x - kLegBand, o.y, o.x + kLegBand, working_.verticalEnd.y}, TickAxis::Y);
    if (x)
        working_.realX = working_.width * spacing / x->period;
    if (y)
        working_.realY = working_.height * spacing / y->period;
    showRealSizes();
    showScaleFactors();
    showPresetState();
    if (!x || !y)
        ShowMessage(std::string("No clear period of at least 5 micrometer ticks under the ") +
                        (!x && !y ? "X and Y legs."
                         : !x     ? "X leg."
                                  : "Y leg."),
                    MessageIcon::Warning);
}

void CCalibrationBar::fullRefresh() {
    unitList_->setCurrentIndex(working_.unit);
    showScaleFactors();
    showRealSizes();
    readUnit();
    showPixelValues();
    showPresetState();
}

void CCalibrationBar::showPixelValues() {
    startX_->setText(QString::number(working_.origin.x));
    startY_->setText(QString::number(working_.origin.y));
    endX_->setText(QString::number(working_.horizontalEnd.x));
    endY_->setText(QString::number(working_.verticalEnd.y));
    width_->setText(QString::number(working_.width));
    height_->setText(QString::number(working_.height));
}

void CCalibrationBar::showScaleFactors() {
    double x = 1.0;
    double y = 1.0;
    if (working_.realX > 0.0 && working_.realY > 0.0 && working_.width > 0 && working_.height > 0) {
        x = working_.realX / working_.width;
        y = working_.realY / working_.height;
    }
    xRuler_->setText(Text(FormatDecimals(x, 6)));
    yRuler_->setText(Text(FormatDecimals(y, 6)));
}

void CCalibrationBar::showRealSizes() {
    xSize_->setText(Text(FormatDecimals(working_.realX, 6)));
    ySize_->setText(Text(FormatDecimals(working_.realY, 6)));
}

void CCalibrationBar::readUnit() {
    working_.unit = unitList_->currentIndex() < 0 ? 0 : unitList_->currentIndex();
    for (QLabel* label : unitLabels_)
        label->setText(UnitText(working_.unit));
}

// A field that holds no number keeps the size it had; OK refuses it.
void CCalibrationBar::readRealSizes() {
    working_.realX = TypedRealSize(xSize_->text()).value_or(working_.realX);
    working_.realY = TypedRealSize(ySize_->text()).value_or(working_.realY);
}

void CCalibrationBar::ChoosePreset(const std::string& name) {
    presetStore_.sync();
    const std::optional<CalibrationPreset> preset =
        CalibrationPresets::Load(presetStore_).find(name);
    if (!preset) { // deleted by another program meanwhile
        reloadPresets();
        return;
    }
    const CalibrationRecord& record = preset->record;
    working_.unit = record.unit;
    working_.realX = record.realX;
    working_.realY = record.realY;
    working_.width = record.pixelWidth;
    working_.height = record.pixelHeight;
    working_.horizontalEnd = {working_.origin.x + working_.width, working_.origin.y};
    working_.verticalEnd = {working_.origin.x, working_.origin.y + working_.height};
    saved_ = working_;
    chosenPreset_ = name;
    chosenRecord_ = record;
    RulerCalibration calibration(settings_);
    StoreNamedCalibration(calibration, {record, name});
    fullRefresh();
    if (CMavView* view = activeView_())
        RestoreCalibrationTool(*view);
}

void CCalibrationBar::SaveAsPreset() {
    if (!realSizesAreNumbers())
        return;
    const CalibrationRecord record = workingRecord();
    const std::optional<std::string> name = AskToKeepAsPreset(
        presetStore_, record, {"Save as preset", "Name of the preset:", chosenPreset_});
    if (!name)
        return;
    chosenPreset_ = *name;
    RulerCalibration calibration(settings_);
    if (CalibrationInForce(calibration) == record)
        calibration.SetPresetName(*name);
    reloadPresets();
}

void CCalibrationBar::DeletePreset() {
    if (chosenPreset_.empty())
        return;
    if (AskToDeletePreset(presetStore_, chosenPreset_)) {
        RulerCalibration calibration(settings_);
        if (calibration.presetName() == chosenPreset_)
            calibration.SetPresetName({});
        chosenPreset_.clear();
    }
    reloadPresets();
}

void CCalibrationBar::showEvent(QShowEvent* event) {
    reloadPresets();
    QWidget::showEvent(event);
}

CalibrationRecord CCalibrationBar::workingRecord() const {
    return LimitedCalibration(
        {working_.unit, working_.realX, working_.realY, working_.width, working_.height});
}

// A chosen preset that is no longer listed (deleted, here or by another
// program) is forgotten; one replaced meanwhile is compared by its new values.
void CCalibrationBar::reloadPresets() {
    presetStore_.sync();
    const CalibrationPresets presets = CalibrationPresets::Load(presetStore_);
    presetList_->clear();
    for (const CalibrationPreset& preset : presets.list())
        presetList_->addItem(Text(preset.name), Text(preset.name));
    if (const std::optional<CalibrationPreset> chosen = presets.find(chosenPreset_))
        chosenRecord_ = chosen->record;
    else
        chosenPreset_.clear();
    showPresetState();
}

void CCalibrationBar::showPresetState() {
    const int chosen = chosenPreset_.empty() ? -1 : presetList_->findData(Text(chosenPreset_));
    for (int index = 0; index < presetList_->count(); ++index)
        presetList_->setItemText(index, presetList_->itemData(index).toString());
    presetList_->setCurrentIndex(chosen);
    if (chosen >= 0 && workingRecord() != chosenRecord_)
        presetList_->setItemText(chosen, Text(chosenPreset_ + kModified));
    deletePreset_->setEnabled(chosen >= 0);
}

} // namespace halvera
