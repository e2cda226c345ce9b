#pragma once

#include <QObject>

class QLineEdit;
class QSlider;
class QWidget;

namespace halvera {

// A horizontal slider and its number box, as the adjustment dialogs pair them.
// Every change of the slider's position writes the value into the box as a
// whole number and is announced by valueChanged. Typing into the box moves the
// slider to the number the text starts with (optional sign and digits; 0 when
// there are none), limited to the slider's range. While the user types, the
// box keeps the text as typed unless the slider had to limit the number; when
// editing ends, it shows the slider's value.
//
// The slider and the box are created as children of `parent`, named
// `name` and `name` + "Box" for tests.
class CSliderWithBox : public QObject {
    Q_OBJECT
public:
    CSliderWithBox(const QString& name, int minimum, int maximum, int tickInterval,
                   QWidget* parent);

    QSlider* slider() const { return slider_; }
    QLineEdit* box() const { return box_; }
    int value() const;

    // The number a box's text starts with: optional blanks, an optional sign,
    // then digits; 0 when there are no digits.
    static int LeadingNumber(const QString& text);

signals:
    void valueChanged(int value);
    // The mouse let go of the slider after pressing on it (its handle dragged
    // or its groove clicked).
    void released(int value);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnSliderMoved(int value);
    void OnTextEdited(const QString& text);
    void OnEditingFinished();

    QSlider* slider_;
    QLineEdit* box_;
    bool typing_ = false;
};

} // namespace halvera
