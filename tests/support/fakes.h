#pragma once

#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/serial_port.h"
#include "platform/sound.h"

#include <QStringList>

#include <deque>
#include <utility>
#include <vector>

namespace tormel::test {

struct ShownMessage {
    QString text;
    MessageIcon icon;
    QString caption;
};

// Dialogs that answer from a script and remember what they were asked.
class FakeDialogs final : public Dialogs {
public:
    void message(const QString& text, MessageIcon icon, const QString& caption) override { messages.push_back({text, icon, caption}); }
    bool ask(const QString& text, const QString&) override
    {
        questions << text;
        if (askAnswers.empty())
            return false;
        const bool answer = askAnswers.front();
        askAnswers.pop_front();
        return answer;
    }
    QString openFile(const FileDialogRequest& request) override
    {
        openRequests.push_back(request);
        return next(openAnswers);
    }
    QString saveFile(const FileDialogRequest& request) override
    {
        saveRequests.push_back(request);
        return next(saveAnswers);
    }
    QString chooseFolder(const QString& caption, const QString&) override
    {
        folderCaptions << caption;
        return next(folderAnswers);
    }
    void setParentWidget(QWidget* widget) override { parent = widget; }

    std::vector<ShownMessage> messages;
    std::vector<FileDialogRequest> saveRequests;
    std::vector<FileDialogRequest> openRequests;
    std::deque<QString> openAnswers;
    std::deque<QString> saveAnswers;
    std::deque<QString> folderAnswers;
    QStringList questions;
    std::deque<bool> askAnswers;  // No when empty
    QStringList folderCaptions;
    QWidget* parent = nullptr;

private:
    static QString next(std::deque<QString>& answers)
    {
        if (answers.empty())
            return {};
        QString answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

class FakeLauncher final : public Launcher {
public:
    bool startEditor(const QString& path) override
    {
        started.push_back(path);
        return available;
    }
    QStringList started;
    bool available = true;
};

// A serial line whose bytes, events and failures the test sets.
class FakeSerialPort final : public SerialPort {
public:
    bool open(int n, PortProblem* why) override
    {
        if (!openable) {
            if (why)
                *why = problem;
            return false;
        }
        opened = n;
        isOpen_ = true;
        return true;
    }
    bool isOpen() const override { return isOpen_; }
    qint64 bytesWaiting() override { return isOpen_ ? buffer.size() : 0; }
    QByteArray readAll() override { return std::exchange(buffer, QByteArray()); }
    void close() override
    {
        isOpen_ = false;
        buffer.clear();
    }
    std::vector<int> takeEvents() override { return std::exchange(events, {}); }
    bool lost() const override { return gone; }

    QByteArray buffer;
    std::vector<int> events;
    bool openable = true;
    PortProblem problem{PortProblem::Kind::AccessDenied, 1, QStringLiteral("/dev/ttyUSB0"), {}};
    bool gone = false;
    int opened = 0;

private:
    bool isOpen_ = false;
};

class FakeSound final : public Sound {
public:
    void beep() override { ++beeps; }
    int beeps = 0;
};

}  // namespace tormel::test
