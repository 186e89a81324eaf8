#pragma once

#include "shell/principale.h"
#include "support/fakes.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace tormel::test {

// A window started in a folder of its own: the program folder and the
// current folder are both fresh temporary folders.
class WindowTest : public ::testing::Test {
protected:
    QString programFolder() const { return program_.path(); }

    void copyShippedLanguages()
    {
        const QDir shipped(QStringLiteral(TORMEL_LANG_DIR));
        for (const QString& name : shipped.entryList({QStringLiteral("*.txt")}, QDir::Files))
            ASSERT_TRUE(QFile::copy(shipped.filePath(name), QDir(programFolder()).filePath(name)));
    }

    Principale& start()
    {
        window_ = std::make_unique<Principale>(Services{dialogs, screen, launcher, programFolder()});
        window_->Form_Load();
        return *window_;
    }

    QByteArray settingsBytes() const { return readBytes(QDir(programFolder()).filePath(QStringLiteral("Tormport.dat"))); }

    TempFolder current_;
    QTemporaryDir program_;
    FakeDialogs dialogs;
    FakeScreen screen{1280 * 15, 1024 * 15};
    FakeLauncher launcher;
    std::unique_ptr<Principale> window_;
};

}  // namespace tormel::test
