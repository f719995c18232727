// The program's folder picker: a file dialog of the toolkit's own (not the
// desktop's) that shows and chooses folders only and is read-only, so nothing
// can be renamed, deleted, made or moved from within it.
#include "widgets/qtprompter.h"

#include "widgets/cursorlift.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>

std::optional<std::string> CQtPrompter::ChooseFolder(const std::string& strTitle, const std::string& strStart)
{
    CCursorLift lift;
    QFileDialog dlg(QApplication::activeWindow(), QString::fromStdString(strTitle));
    dlg.setObjectName(QStringLiteral("folderPicker"));
    dlg.setOption(QFileDialog::DontUseNativeDialog, true);
    dlg.setOption(QFileDialog::ShowDirsOnly, true);
    dlg.setOption(QFileDialog::ReadOnly, true);
    dlg.setFileMode(QFileDialog::Directory);
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    const QString strFolder = QString::fromStdString(strStart);
    dlg.setDirectory(!strFolder.isEmpty() && QDir(strFolder).exists() ? strFolder : QDir::homePath());
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return std::nullopt;
    return QDir::cleanPath(dlg.selectedFiles().front()).toStdString();
}
