#include "common/DialogService.h"

#include "common/BoxText.h"
#include "common/ShellHelpers.h"

#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>

namespace
{
DialogService *installedService = nullptr;

QString titleOrApplicationTitle(const QString &title)
{
    return title.isEmpty() ? applicationTitle() : title;
}

QMessageBox::Icon qtIcon(DialogService::Icon icon)
{
    switch (icon) {
    case DialogService::Icon::Information:
        return QMessageBox::Information;
    case DialogService::Icon::Exclamation:
        return QMessageBox::Warning;
    case DialogService::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}
} // namespace

DialogService &DialogService::current()
{
    static QtDialogService real;
    return installedService ? *installedService : real;
}

void DialogService::install(DialogService *service)
{
    installedService = service;
}

void QtDialogService::messageBox(const QString &text, const QString &title, Icon icon)
{
    QMessageBox box(qtIcon(icon), titleOrApplicationTitle(title), boundedForBox(text),
                    QMessageBox::Ok, QApplication::activeWindow());
    // Texts carry names and titles that other programs choose: never markup.
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

QString QtDialogService::inputBox(const QString &prompt, const QString &title,
                                  const QString &defaultText)
{
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(titleOrApplicationTitle(title));
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setLabelText(prompt);
    dialog.setTextValue(defaultText);
    for (QLabel *label : dialog.findChildren<QLabel *>())
        label->setTextFormat(Qt::PlainText);
    return dialog.exec() == QDialog::Accepted ? dialog.textValue() : QString();
}
