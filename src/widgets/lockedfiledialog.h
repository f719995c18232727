// The Qt file dialog behind the prompter's file question: Qt's own (not the
// desktop's) dialog, locked so that the operator can only choose a file. Its
// model is read-only (no rename, delete or new folder), its views take no
// editing, no drag and drop and no context menu, and Delete, F2, Control+X and
// Control+V never reach them. The caller asks before replacing a file.
#pragma once

#include "platform/prompter.h"

#include <QFileDialog>

#include <string>

class CLockedFileDialog : public QFileDialog {
    Q_OBJECT
public:
    explicit CLockedFileDialog(const CPrompter::FileRequest& request, QWidget* pParent = nullptr);

    // The path chosen, empty when none.
    std::string ChosenPath() const;

    // Whether a key event is one of the locked keys.
    static bool IsLockedKey(const QKeyEvent& event);

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    void Lock();
};
