#pragma once

#include "platform/desktop.h"
#include "platform/dialogs.h"

#include <QStringList>

#include <deque>
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
    QString openFile(const FileDialogRequest&) override { return next(openAnswers); }
    QString saveFile(const FileDialogRequest& request) override
    {
        saveRequests.push_back(request);
        return next(saveAnswers);
    }

    std::vector<ShownMessage> messages;
    std::vector<FileDialogRequest> saveRequests;
    std::deque<QString> openAnswers;
    std::deque<QString> saveAnswers;

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

}  // namespace tormel::test
