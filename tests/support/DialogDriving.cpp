#include "DialogDriving.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace halvera::testing {

std::vector<std::string> LabelTexts(QWidget& dialog) {
    std::vector<std::string> texts;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        texts.push_back(label->text().toStdString());
    return texts;
}

std::vector<std::string> ComboTexts(const QComboBox* combo) {
    std::vector<std::string> texts;
    for (int i = 0; i < combo->count(); ++i)
        texts.push_back(combo->itemText(i).toStdString());
    return texts;
}

void TypeInto(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

void Press(QDialog& dialog, QDialogButtonBox::StandardButton which) {
    QPushButton* button = dialog.findChild<QDialogButtonBox*>()->button(which);
    QTest::mouseClick(button, Qt::LeftButton);
}

void WithModalDialog(const std::function<void()>& command,
                     const std::function<void(QDialog&)>& act) {
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        // Focus moves between the dialog's fields only in the active window;
        // the offscreen platform does not activate a dialog by itself.
        QApplication::setActiveWindow(dialog);
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
        act(*dialog);
    });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            dialog->reject();
    });
    watchdog.start(10000);
    command();
}

} // namespace halvera::testing
