#include "platform/ui/QtSettingsStore.h"

#include "StoredSettingsChecks.h"
#include "image/AppSettings.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

namespace halvera {
namespace {

class QtSettingsStoreTest : public ::testing::Test {
protected:
    QString iniPath() const { return dir.filePath(QStringLiteral("Halvera.ini")); }

    QString fileText() const {
        QFile file(iniPath());
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    void writeRaw(const QString& text) {
        QFile file(iniPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text.toUtf8());
    }

    QTemporaryDir dir;
};

TEST_F(QtSettingsStoreTest, EmptyStoreGivesTheDefaults) {
    QtSettingsStore store(iniPath());
    AppSettings settings;
    settings.PencilSize = 99;
    settings.Load(store);
    testing::ExpectDefaultStoredSettings(settings);
}

TEST_F(QtSettingsStoreTest, OutOfRangeValuesAreReplaced) {
    writeRaw(QStringLiteral("[%20HLVT]\nPencilSize=250\nImageWidth=4000\nxRealRulerData=abc\n"
                            "MagicRange=101\nyPixelRulerData=5000\n"));
    QtSettingsStore store(iniPath());
    AppSettings settings;
    settings.Load(store);
    EXPECT_EQ(settings.PencilSize, 6);
    EXPECT_EQ(settings.ImageWidth, 100);
    EXPECT_DOUBLE_EQ(settings.xRealRulerData, 100.0);
    EXPECT_EQ(settings.MagicRange, 30);
    EXPECT_EQ(settings.yPixelRulerData, 2000);
}

TEST_F(QtSettingsStoreTest, ValuesSurviveAStoreAndReadAgain) {
    {
        QtSettingsStore store(iniPath());
        AppSettings settings;
        settings.ImageWidth = 640;
        settings.xRealRulerData = 12.5;
        settings.CaptureName = "Camera, USB";
        settings.CaptureFile = "/home/user/capture.avi";
        settings.Save(store);
    }
    QtSettingsStore store(iniPath());
    AppSettings settings;
    settings.Load(store);
    EXPECT_EQ(settings.ImageWidth, 640);
    EXPECT_DOUBLE_EQ(settings.xRealRulerData, 12.5);
    EXPECT_EQ(settings.CaptureName, "Camera, USB");
    EXPECT_EQ(settings.CaptureFile, "/home/user/capture.avi");
    EXPECT_EQ(store.readInt(kSettingsSection, "CaptureName"), std::nullopt);
    EXPECT_EQ(store.readString(kSettingsSection, "NoSuchKey"), std::nullopt);
}

TEST(QtSettingsStore, ProgramStoreLivesInTheUsersConfigurationFolder) {
    QtSettingsStore store;
    const QString configHome = QString::fromLocal8Bit(std::getenv("XDG_CONFIG_HOME"));
    ASSERT_FALSE(configHome.isEmpty());
    EXPECT_EQ(store.fileName(), QDir(configHome).filePath(QStringLiteral(" HLVT/Halvera.ini")));
}

// A German desktop writes decimal commas with printf; the settings must not.
class GermanLocale {
public:
    GermanLocale() {
        const QString locales = dir_.path();
        const int built = QProcess::execute(
            QStringLiteral("localedef"),
            {"-i", "de_DE", "-f", "UTF-8", locales + QStringLiteral("/de_DE.UTF-8")});
        if (built != 0)
            return;
        setenv("LOCPATH", locales.toLocal8Bit().constData(), 1);
        active_ = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    }
    ~GermanLocale() {
        std::setlocale(LC_ALL, "C");
        unsetenv("LOCPATH");
    }
    bool active() const { return active_; }

private:
    QTemporaryDir dir_;
    bool active_ = false;
};

TEST_F(QtSettingsStoreTest, RulerRealsAreWrittenWithAPointUnderAGermanLocale) {
    GermanLocale german;
    if (!german.active())
        GTEST_SKIP() << "no German locale can be built here (localedef)";
    char formatted[32];
    std::snprintf(formatted, sizeof formatted, "%.1f", 1.5);
    ASSERT_STREQ(formatted, "1,5"); // the locale is really in force
    {
        QtSettingsStore store(iniPath());
        AppSettings settings;
        settings.yRealRulerData = 2.25;
        settings.Save(store);
    }
    const QString text = fileText();
    EXPECT_TRUE(text.contains(QStringLiteral("xRealRulerData=100.00000000"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("yRealRulerData=2.25000000"))) << text.toStdString();
    QtSettingsStore store(iniPath());
    AppSettings settings;
    settings.Load(store);
    EXPECT_DOUBLE_EQ(settings.yRealRulerData, 2.25);
}

} // namespace
} // namespace halvera
