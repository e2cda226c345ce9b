#include "view/ui/SliderWithBox.h"

#include <QEvent>
#include <QLineEdit>
#include <QSlider>

namespace halvera {

namespace {

// The boxes hold at most four characters: "-100".
constexpr int kBoxCharacters = 4;

} // namespace

CSliderWithBox::CSliderWithBox(const QString& name, int minimum, int maximum, int tickInterval,
                               QWidget* parent)
    : QObject(parent), slider_(new QSlider(Qt::Horizontal, parent)), box_(new QLineEdit(parent)) {
    slider_->setObjectName(name);
    slider_->setRange(minimum, maximum);
    slider_->setValue(0);
    slider_->setTickInterval(tickInterval);
    slider_->setTickPosition(QSlider::TicksBelow);
    slider_->setPageStep(tickInterval);
    slider_->installEventFilter(this);
    box_->setObjectName(name + QStringLiteral("Box"));
    box_->setMaxLength(kBoxCharacters);
    box_->setText(QStringLiteral("0"));
    connect(slider_, &QSlider::valueChanged, this, &CSliderWithBox::OnSliderMoved);
    connect(box_, &QLineEdit::textEdited, this, &CSliderWithBox::OnTextEdited);
    connect(box_, &QLineEdit::editingFinished, this, &CSliderWithBox::OnEditingFinished);
}

int CSliderWithBox::value() const {
    return slider_->value();
}

int CSliderWithBox::LeadingNumber(const QString& text) {
    int i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        negative = text[i++] == u'-';
    // The box holds four characters, so the number cannot overflow; the limit
    // keeps it so for text set from elsewhere.
    int number = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9' && number < 100000; ++i)
        number = 10 * number + (text[i].unicode() - u'0');
    return negative ? -number : number;
}

void CSliderWithBox::OnSliderMoved(int value) {
    if (!typing_ || LeadingNumber(box_->text()) != value)
        box_->setText(QString::number(value));
    emit valueChanged(value);
}

void CSliderWithBox::OnTextEdited(const QString& text) {
    typing_ = true;
    slider_->setValue(LeadingNumber(text));
    typing_ = false;
}

void CSliderWithBox::OnEditingFinished() {
    box_->setText(QString::number(slider_->value()));
}

bool CSliderWithBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == slider_ && event->type() == QEvent::MouseButtonRelease)
        emit released(slider_->value());
    return QObject::eventFilter(watched, event);
}

} // namespace halvera
