#include "platform/dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace tormel {

QString withDefaultExtension(const QString& path, const QString& extension)
{
    if (path.isEmpty() || extension.isEmpty() || !QFileInfo(path).suffix().isEmpty())
        return path;
    return path + QLatin1Char('.') + extension;
}

DialogOwner::DialogOwner(QWidget* fallback)
    : owner_(fallback)
{
    if (QWidget* active = QApplication::activeWindow(); active && active->windowType() != Qt::Popup)
        owner_ = active;
}

DialogOwner::~DialogOwner()
{
    if (owner_ && owner_->isVisible()) {
        owner_->raise();
        owner_->activateWindow();
    }
}

bool QtDialogs::ask(const QString& text, const QString& caption)
{
    const DialogOwner owner(parent_);
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No, owner.widget());
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

void QtDialogs::message(const QString& text, MessageIcon icon, const QString& caption)
{
    const DialogOwner owner(parent_);
    QMessageBox box(owner.widget());
    box.setWindowTitle(caption);
    box.setText(text);
    box.setStandardButtons(QMessageBox::Ok);
    switch (icon) {
    case MessageIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MessageIcon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case MessageIcon::Critical: box.setIcon(QMessageBox::Critical); break;
    }
    box.exec();
}

QString QtDialogs::openFile(const FileDialogRequest& request)
{
    const DialogOwner owner(parent_);
    QFileDialog dialog(owner.widget(), QString(), request.initialFolder, request.filter.text());
    // Qt's own dialog, whose buttons follow the language chosen in the program.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setDefaultSuffix(request.defaultExtension);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString QtDialogs::saveFile(const FileDialogRequest& request)
{
    const DialogOwner owner(parent_);
    QFileDialog dialog(owner.widget(), QString(), request.initialFolder, request.filter.text());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(request.defaultExtension);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    if (!request.proposedName.isEmpty())
        dialog.selectFile(request.proposedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return withDefaultExtension(dialog.selectedFiles().constFirst(), request.defaultExtension);
}

QString QtDialogs::chooseFolder(const QString& caption, const QString& initialFolder)
{
    const DialogOwner owner(parent_);
    QFileDialog dialog(owner.widget(), caption, initialFolder);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

}  // namespace tormel
