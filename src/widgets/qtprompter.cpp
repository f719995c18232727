#include "widgets/qtprompter.h"

#include "widgets/confirmdlg.h"
#include "widgets/cursorlift.h"
#include "widgets/printerchooser.h"
#include "widgets/lockedfiledialog.h"

#include <QApplication>
#include <QMessageBox>

namespace {

QMessageBox::Icon ToQtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Error: return QMessageBox::Critical;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

int CQtPrompter::Confirm(int nMode)
{
    CCursorLift lift;
    CConfirmDlg dlg(nMode, QApplication::activeWindow());
    return dlg.exec();
}

int CQtPrompter::MessageBox(const std::string& strText, const std::string& strCaption,
                            MessageIcon icon, MessageButtons buttons)
{
    CCursorLift lift;
    QMessageBox box(ToQtIcon(icon), QString::fromStdString(strCaption), QString::fromStdString(strText),
                    QMessageBox::NoButton, QApplication::activeWindow());
    switch (buttons) {
    case MessageButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case MessageButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case MessageButtons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    }
    switch (box.exec()) {
    case QMessageBox::Ok: return IDOK;
    case QMessageBox::Yes: return IDYES;
    case QMessageBox::No: return IDNO;
    default: return IDCANCEL;
    }
}

bool CQtPrompter::ChoosePrinter(PrintRequest& request)
{
    CCursorLift lift;
    return CPrinterChooser::Choose(request);
}

std::optional<std::string> CQtPrompter::ChooseFile(const FileRequest& request)
{
    CCursorLift lift;
    CLockedFileDialog dlg(request, QApplication::activeWindow());
    if (dlg.exec() != QDialog::Accepted)
        return std::nullopt;
    const std::string strPath = dlg.ChosenPath();
    return strPath.empty() ? std::nullopt : std::optional<std::string>(strPath);
}
