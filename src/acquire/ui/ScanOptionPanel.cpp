#include "acquire/ui/ScanOptionPanel.h"

#include "acquire/ScanOptionValue.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <climits>
#include <cmath>

namespace halvera {

namespace {

constexpr double kFixedLimit = 32767.0;
constexpr int kFixedDecimals = 2;

bool IsStandardOption(const std::string& name) {
    return name == kScanOptionMode || name == kScanOptionResolution ||
           name == kScanOptionTopLeftX || name == kScanOptionTopLeftY ||
           name == kScanOptionBottomRightX || name == kScanOptionBottomRightY;
}

bool Shown(const ScanOption& option) {
    return option.editable() && (!option.advanced || IsStandardOption(option.name));
}

QString UnitSuffix(ScanUnit unit) {
    switch (unit) {
    case ScanUnit::Pixel:
        return QStringLiteral(" px");
    case ScanUnit::Bit:
        return QStringLiteral(" bit");
    case ScanUnit::Millimetre:
        return QStringLiteral(" mm");
    case ScanUnit::Dpi:
        return QStringLiteral(" dpi");
    case ScanUnit::Percent:
        return QStringLiteral(" %");
    case ScanUnit::Microsecond:
        return QStringLiteral(" \u00b5s");
    case ScanUnit::None:
        break;
    }
    return {};
}

double NumberOf(const ScanValue& value) {
    if (const int* number = std::get_if<int>(&value))
        return *number;
    if (const double* number = std::get_if<double>(&value))
        return *number;
    return 0.0;
}

// The value a list entry or spin box stands for, in the option's own type.
ScanValue NumberValue(const ScanOption& option, double number) {
    if (option.type == ScanValueType::Int)
        return static_cast<int>(std::lround(number));
    return number;
}

} // namespace

CScanOptionPanel::CScanOptionPanel(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
}

QWidget* CScanOptionPanel::editor(const std::string& name) const {
    return content_ ? content_->findChild<QWidget*>(QString::fromStdString(name)) : nullptr;
}

void CScanOptionPanel::changed(const std::string& name, const ScanValue& value) {
    if (onChange_)
        onChange_(name, value);
}

void CScanOptionPanel::showOptions(const std::vector<ScanOption>& options) {
    delete content_;
    content_ = new QWidget(this);
    auto* column = new QVBoxLayout(content_);
    column->setContentsMargins(0, 0, 0, 0);
    QFormLayout* form = nullptr;
    QString groupTitle;
    for (const ScanOption& option : options) {
        if (option.type == ScanValueType::Group) {
            groupTitle = QString::fromStdString(option.title);
            form = nullptr;
            continue;
        }
        if (!Shown(option))
            continue;
        if (!form) {
            auto* group = new QGroupBox(groupTitle, content_);
            form = new QFormLayout(group);
            column->addWidget(group);
        }
        QWidget* widget = makeEditor(option);
        widget->setObjectName(QString::fromStdString(option.name));
        widget->setToolTip(QString::fromStdString(option.description));
        const bool labelled =
            option.type != ScanValueType::Bool && option.type != ScanValueType::Button;
        if (labelled)
            form->addRow(QString::fromStdString(option.title), widget);
        else
            form->addRow(widget);
    }
    column->addStretch();
    layout()->addWidget(content_);
}

QWidget* CScanOptionPanel::makeEditor(const ScanOption& option) {
    const std::string name = option.name;
    switch (option.type) {
    case ScanValueType::Bool: {
        auto* box = new QCheckBox(QString::fromStdString(option.title));
        box->setChecked(std::get_if<bool>(&option.value) && std::get<bool>(option.value));
        connect(box, &QCheckBox::toggled, this, [this, name](bool on) { changed(name, on); });
        return box;
    }
    case ScanValueType::Int:
    case ScanValueType::Fixed:
        if (option.constraint == ScanConstraint::NumberList)
            return makeNumberList(option);
        return makeSpinBox(option);
    case ScanValueType::String: {
        const std::string* current = std::get_if<std::string>(&option.value);
        if (option.constraint == ScanConstraint::StringList) {
            auto* list = new QComboBox;
            for (const std::string& text : option.texts)
                list->addItem(QString::fromStdString(text));
            if (current)
                list->setCurrentText(QString::fromStdString(*current));
            connect(list, &QComboBox::activated, this,
                    [this, name, list](int) { changed(name, list->currentText().toStdString()); });
            return list;
        }
        auto* edit = new QLineEdit(current ? QString::fromStdString(*current) : QString());
        connect(edit, &QLineEdit::editingFinished, this, [this, name, edit] {
            if (!edit->isModified())
                return;
            edit->setModified(false); // losing the focus later is no second change
            changed(name, edit->text().toStdString());
        });
        return edit;
    }
    case ScanValueType::Button: {
        auto* button = new QPushButton(QString::fromStdString(option.title));
        connect(button, &QPushButton::clicked, this,
                [this, name] { changed(name, std::monostate{}); });
        return button;
    }
    case ScanValueType::Group:
        break;
    }
    return new QWidget;
}

QWidget* CScanOptionPanel::makeNumberList(const ScanOption& option) {
    auto* list = new QComboBox;
    const double current = NumberOf(option.value);
    const QString suffix = UnitSuffix(option.unit);
    for (double number : option.numbers) {
        const ScanValue value = NumberValue(option, number);
        list->addItem(QString::fromStdString(FormatScanValue(value)) + suffix);
        if (number == current)
            list->setCurrentIndex(list->count() - 1);
    }
    connect(list, &QComboBox::activated, this, [this, option](int index) {
        if (index >= 0 && static_cast<size_t>(index) < option.numbers.size())
            changed(option.name, NumberValue(option, option.numbers[static_cast<size_t>(index)]));
    });
    return list;
}

QWidget* CScanOptionPanel::makeSpinBox(const ScanOption& option) {
    const bool ranged = option.constraint == ScanConstraint::Range;
    const std::string name = option.name;
    if (option.type == ScanValueType::Int) {
        auto* spin = new QSpinBox;
        spin->setRange(ranged ? static_cast<int>(option.min) : INT_MIN,
                       ranged ? static_cast<int>(option.max) : INT_MAX);
        spin->setSingleStep(std::max(1, static_cast<int>(option.quant)));
        spin->setSuffix(UnitSuffix(option.unit));
        spin->setValue(static_cast<int>(NumberOf(option.value)));
        spin->setKeyboardTracking(false);
        connect(spin, &QSpinBox::valueChanged, this,
                [this, name](int value) { changed(name, value); });
        return spin;
    }
    auto* spin = new QDoubleSpinBox;
    spin->setDecimals(kFixedDecimals);
    spin->setRange(ranged ? option.min : -kFixedLimit, ranged ? option.max : kFixedLimit);
    spin->setSingleStep(option.quant > 0.0 ? option.quant : 1.0);
    spin->setSuffix(UnitSuffix(option.unit));
    spin->setValue(NumberOf(option.value));
    spin->setKeyboardTracking(false);
    connect(spin, &QDoubleSpinBox::valueChanged, this,
            [this, name](double value) { changed(name, value); });
    return spin;
}

} // namespace halvera
