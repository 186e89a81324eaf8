#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

namespace tormel {

enum class MessageIcon { Information, Exclamation, Critical };

// One filter entry of a file dialog: the description "Tml" with the
// patterns "*.Tml *.tml", shown as "Tml (*.Tml *.tml)".
struct FileFilter {
    QString description;
    QString pattern;
    QString text() const { return description + QStringLiteral(" (") + pattern + QLatin1Char(')'); }
};

struct FileDialogRequest {
    QString initialFolder;      // empty: the dialog's own choice
    QString defaultExtension;   // appended to a name typed without one
    FileFilter filter;
    QString proposedName;       // save only
    bool confirmOverwrite = true;  // save only
};

// Message boxes and file dialogs. Each call returns only when answered, like
// the real dialogs; the result is a value so tests can script the answers.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual void message(const QString& text, MessageIcon icon, const QString& caption) = 0;
    // A question with Yes and No; true for Yes.
    virtual bool ask(const QString& text, const QString& caption) = 0;
    // The chosen path, or an empty text on cancel.
    virtual QString openFile(const FileDialogRequest& request) = 0;
    virtual QString saveFile(const FileDialogRequest& request) = 0;
    // The folder chosen, or an empty text on cancel.
    virtual QString chooseFolder(const QString& caption, const QString& initialFolder) = 0;
    // The window the dialogs stand over, once it exists.
    virtual void setParentWidget(QWidget* parent) = 0;
};

// The window a dialog belongs to: the one the user is in (the library or the
// comparison, over the maximised main window), else `fallback`. That window
// comes back to the front when the dialog is gone, so that it never falls
// behind the main window.
class DialogOwner {
public:
    explicit DialogOwner(QWidget* fallback);
    ~DialogOwner();
    DialogOwner(const DialogOwner&) = delete;
    DialogOwner& operator=(const DialogOwner&) = delete;
    QWidget* widget() const { return owner_; }

private:
    QPointer<QWidget> owner_;
};

// A name typed without an extension gets the default one, as the dialogs do.
QString withDefaultExtension(const QString& path, const QString& extension);

class QtDialogs final : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParentWidget(QWidget* parent) override { parent_ = parent; }
    void message(const QString& text, MessageIcon icon, const QString& caption) override;
    bool ask(const QString& text, const QString& caption) override;
    QString openFile(const FileDialogRequest& request) override;
    QString saveFile(const FileDialogRequest& request) override;
    QString chooseFolder(const QString& caption, const QString& initialFolder) override;

private:
    QWidget* parent_;
};

}  // namespace tormel
