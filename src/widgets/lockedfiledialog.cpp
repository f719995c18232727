#include "widgets/lockedfiledialog.h"

#include <QAbstractItemView>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QToolButton>

CLockedFileDialog::CLockedFileDialog(const CPrompter::FileRequest& request, QWidget* pParent) : QFileDialog(pParent)
{
    setObjectName(QStringLiteral("CLockedFileDialog"));
    setOption(QFileDialog::DontUseNativeDialog, true);
    setOption(QFileDialog::ReadOnly, true);
    setOption(QFileDialog::DontConfirmOverwrite, true); // the caller asks
    if (!request.strTitle.empty())
        setWindowTitle(QString::fromStdString(request.strTitle));
    setAcceptMode(request.bSave ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    setFileMode(request.bSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    QStringList filters;
    for (const std::string& strFilter : request.filters)
        filters << QString::fromStdString(strFilter);
    if (!filters.isEmpty())
        setNameFilters(filters);
    if (!request.strFolder.empty())
        setDirectory(QString::fromStdString(request.strFolder));
    if (!request.strName.empty())
        selectFile(QString::fromStdString(request.strName));
    Lock();
}

void CLockedFileDialog::Lock()
{
    for (QAbstractItemView* pView : findChildren<QAbstractItemView*>()) {
        pView->setEditTriggers(QAbstractItemView::NoEditTriggers);
        pView->setDragEnabled(false);
        pView->setAcceptDrops(false);
        pView->setDragDropMode(QAbstractItemView::NoDragDrop);
        pView->setContextMenuPolicy(Qt::NoContextMenu);
        pView->installEventFilter(this);
        if (QWidget* pViewport = pView->viewport()) {
            pViewport->setAcceptDrops(false);
            pViewport->setContextMenuPolicy(Qt::NoContextMenu);
            pViewport->installEventFilter(this);
        }
    }
    // No new folder, whatever the read-only option leaves of its button.
    if (auto* pNewFolder = findChild<QToolButton*>(QStringLiteral("newFolderButton")))
        pNewFolder->hide();
}

bool CLockedFileDialog::IsLockedKey(const QKeyEvent& event)
{
    const int nKey = event.key();
    const bool bControl = event.modifiers().testFlag(Qt::ControlModifier);
    return nKey == Qt::Key_Delete || nKey == Qt::Key_F2 || (bControl && (nKey == Qt::Key_X || nKey == Qt::Key_V));
}

bool CLockedFileDialog::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    switch (pEvent->type()) {
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride:
        if (IsLockedKey(*static_cast<QKeyEvent*>(pEvent))) {
            pEvent->accept();
            return true;
        }
        break;
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        pEvent->ignore();
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        if (static_cast<QMouseEvent*>(pEvent)->button() == Qt::RightButton)
            return true;
        break;
    default:
        break;
    }
    return QFileDialog::eventFilter(pWatched, pEvent);
}

std::string CLockedFileDialog::ChosenPath() const
{
    const QStringList files = selectedFiles();
    return files.isEmpty() ? std::string() : files.first().toStdString();
}
