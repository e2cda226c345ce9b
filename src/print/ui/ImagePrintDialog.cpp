#include "print/ui/ImagePrintDialog.h"

#include "measure/RulerCalibration.h"
#include "platform/ColourRef.h"
#include "platform/UserPrompts.h"
#include "platform/ui/TextFont.h"
#include "print/PrintRatios.h"
#include "print/TitlePlacement.h"
#include "print/ui/ImagePagePrinting.h"
#include "print/ui/PrintLayoutPane.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace halvera {

namespace {

constexpr const char* kTooLarge = "Print image size is larger than the paper!";

PrintLayout OpeningLayout(const CDibImage& image, const AppSettings& settings,
                          const QPrinter& printer) {
    PrintLayout layout(image.width(), image.empty() ? 0 : image.height,
                       MillimetresPerPixelOf(settings.RulerUnit, settings.xRealRulerData,
                                             settings.yRealRulerData, settings.xPixelRulerData,
                                             settings.yPixelRulerData));
    const PaperMillimetres paper = PrintableMillimetres(printer);
    layout.SetPaperMillimetres(paper.width, paper.height);
    return layout;
}

QPushButton* Button(const char* text, const char* name, QWidget* parent) {
    auto* button = new QPushButton(QString::fromLatin1(text), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

} // namespace

CImagePrintDialog::CImagePrintDialog(const CDibImage& image, const AppSettings& settings,
                                     QPrinter& printer, QWidget* parent)
    : QDialog(parent), image_(image), printer_(printer),
      layout_(OpeningLayout(image, settings, printer)) {
    setWindowTitle(QStringLiteral("Image Position Set"));
    buildControls();
    refreshFields();
}

CImagePrintDialog::~CImagePrintDialog() = default;

void CImagePrintDialog::buildControls() {
    pane_ = new CPrintLayoutPane(layout_, title_, image_, this);
    pane_->setObjectName(QStringLiteral("layoutPane"));
    connect(pane_, &CPrintLayoutPane::imageRectChanged, this, [this] {
        keepTitleAbovePicture();
        refreshFields();
    });

    auto* controls = new QVBoxLayout;
    realRatio_ = new QCheckBox(QStringLiteral("Real ratio"), this);
    realRatio_->setObjectName(QStringLiteral("realRatio"));
    ratios_ = new QComboBox(this);
    ratios_->setObjectName(QStringLiteral("ratioList"));
    for (const PrintRatio& ratio : PrintRatios())
        ratios_->addItem(QString::fromStdString(ratio.text));
    ratios_->setCurrentIndex(0);
    ratios_->setEnabled(false);
    connect(realRatio_, &QCheckBox::toggled, this, &CImagePrintDialog::realRatioToggled);
    connect(ratios_, &QComboBox::currentIndexChanged, this, &CImagePrintDialog::applySelectedRatio);
    controls->addWidget(realRatio_);
    controls->addWidget(ratios_);

    auto* fields = new QGridLayout;
    const char* labels[] = {"Start X", "Start Y", "Width", "Height"};
    const char* names[] = {"startX", "startY", "width", "height"};
    for (int i = 0; i < 4; ++i) {
        auto* field = new QLineEdit(this);
        field->setObjectName(QString::fromLatin1(names[i]));
        field->setReadOnly(true);
        fields_[static_cast<size_t>(i)] = field;
        const auto spin = static_cast<LayoutSpin>(i);
        auto* up = new QToolButton(this);
        up->setArrowType(Qt::UpArrow);
        up->setObjectName(QString::fromLatin1(names[i]) + QStringLiteral("Up"));
        auto* down = new QToolButton(this);
        down->setArrowType(Qt::DownArrow);
        down->setObjectName(QString::fromLatin1(names[i]) + QStringLiteral("Down"));
        connect(up, &QToolButton::clicked, this, [this, spin] { nudge(spin, true); });
        connect(down, &QToolButton::clicked, this, [this, spin] { nudge(spin, false); });
        fields->addWidget(new QLabel(QString::fromLatin1(labels[i]), this), i, 0);
        fields->addWidget(field, i, 1);
        fields->addWidget(up, i, 2);
        fields->addWidget(down, i, 3);
    }
    controls->addLayout(fields);

    auto* xCenter = Button("X Center", "xCenter", this);
    auto* yCenter = Button("Y Center", "yCenter", this);
    auto* center = Button("Center", "center", this);
    auto* fit = Button("Default", "default", this);
    connect(xCenter, &QPushButton::clicked, this, [this] {
        layout_.CenterX();
        afterRectChange();
    });
    connect(yCenter, &QPushButton::clicked, this, [this] {
        layout_.CenterY();
        afterRectChange();
    });
    connect(center, &QPushButton::clicked, this, [this] {
        layout_.CenterX();
        layout_.CenterY();
        afterRectChange();
    });
    connect(fit, &QPushButton::clicked, this, [this] {
        layout_.FitDefault();
        afterRectChange();
    });
    for (QPushButton* button : {xCenter, yCenter, center, fit})
        controls->addWidget(button);

    controls->addWidget(new QLabel(QStringLiteral("Title"), this));
    titleEdit_ = new QLineEdit(this);
    titleEdit_->setObjectName(QStringLiteral("title"));
    connect(titleEdit_, &QLineEdit::textChanged, this, [this](const QString& text) {
        title_.text = text;
        keepTitleAbovePicture();
        refreshFields();
        pane_->setGrabbedPart(kPartTitle);
    });
    controls->addWidget(titleEdit_);
    auto* font = Button("Font", "font", this);
    connect(font, &QPushButton::clicked, this, &CImagePrintDialog::chooseFont);
    controls->addWidget(font);
    controls->addStretch();
    auto* printButton = Button("Print", "print", this);
    auto* exit = Button("Exit", "exit", this);
    connect(printButton, &QPushButton::clicked, this, &CImagePrintDialog::print);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    controls->addWidget(printButton);
    controls->addWidget(exit);

    auto* main = new QHBoxLayout(this);
    main->addWidget(pane_, 1);
    main->addLayout(controls);
}

void CImagePrintDialog::refreshFields() {
    const auto texts = layout_.Fields();
    for (size_t i = 0; i < texts.size(); ++i)
        fields_[i]->setText(QString::fromStdString(texts[i]));
}

void CImagePrintDialog::afterRectChange() {
    keepTitleAbovePicture();
    pane_->update();
    refreshFields();
}

// A title the user has not moved stands above the picture wherever the
// picture goes, never over it.
void CImagePrintDialog::keepTitleAbovePicture() {
    if (title_.placedByUser || title_.text.isEmpty())
        return;
    title_.rect = PlaceTitleAbovePicture(layout_, TitleWidth(title_), TitleHeight(title_));
}

void CImagePrintDialog::realRatioToggled(bool checked) {
    ratios_->setEnabled(checked);
    if (checked)
        applySelectedRatio();
}

void CImagePrintDialog::applySelectedRatio() {
    const int index = ratios_->currentIndex();
    const auto& ratios = PrintRatios();
    const double factor =
        index >= 0 && index < static_cast<int>(ratios.size()) ? ratios[index].factor : 1.0;
    if (!layout_.ApplyRatio(factor)) {
        // The new size stays, unshown, until the next change.
        ShowMessage(kTooLarge, MessageIcon::Warning);
        return;
    }
    afterRectChange();
}

void CImagePrintDialog::nudge(LayoutSpin spin, bool up) {
    layout_.Nudge(spin, up);
    realRatio_->setChecked(false);
    afterRectChange();
}

void CImagePrintDialog::chooseFont() {
    TextAttributes current = TextAttributesFromFont(title_.font);
    current.colour = MakeColourRef(static_cast<uint8_t>(title_.colour.red()),
                                   static_cast<uint8_t>(title_.colour.green()),
                                   static_cast<uint8_t>(title_.colour.blue()));
    const std::optional<TextAttributes> chosen = Prompts().askTextFont(current);
    if (!chosen)
        return;
    // Sizes stay in layout units, so the title scales with the page.
    title_.font = TextAttributesFont(*chosen);
    title_.font.setStyleStrategy(QFont::PreferDefault);
    title_.colour = QColor(RedOf(chosen->colour), GreenOf(chosen->colour), BlueOf(chosen->colour));
    afterRectChange(); // a taller font needs more room above the picture
}

void CImagePrintDialog::print() {
    if (!Prompts().askPrintJob())
        return;
    // A job that cannot start ends without a message.
    PrintImagePage(printer_, layout_, image_, title_);
}

} // namespace halvera
