#include "addressbook/ipedit.h"

#include "widgets/keyfilter.h"
#include "platform/prompter.h"

#include <QInputMethodEvent>
#include <QKeyEvent>

namespace {
constexpr int kModeOctetRange = 9;
constexpr int kModeKanaButton = 32;
} // namespace

CIPEdit::CIPEdit(QWidget* pParent) : QLineEdit(pParent)
{
    setMaxLength(3);
    setAlignment(Qt::AlignCenter);
    setContextMenuPolicy(Qt::NoContextMenu);
    setInputMethodHints(Qt::ImhDigitsOnly | Qt::ImhNoPredictiveText);
}

void CIPEdit::focusInEvent(QFocusEvent* pEvent)
{
    // No input method in a number field.
    setAttribute(Qt::WA_InputMethodEnabled, false);
    QLineEdit::focusInEvent(pEvent);
}

void CIPEdit::keyPressEvent(QKeyEvent* pEvent)
{
    if (CKeyFilter::IsDialogKey(*pEvent) || CKeyFilter::IsPassedKey(*pEvent)) {
        QLineEdit::keyPressEvent(pEvent);
        return;
    }
    // The key is dropped: the field keeps its content, selected.
    pEvent->accept();
    GetPrompter().Confirm(kModeOctetRange);
    selectAll();
}

void CIPEdit::inputMethodEvent(QInputMethodEvent* pEvent)
{
    if (pEvent->commitString().isEmpty() && pEvent->preeditString().isEmpty()) {
        QLineEdit::inputMethodEvent(pEvent);
        return;
    }
    // A key being composed by the input method: dropped.
    pEvent->accept();
    GetPrompter().Confirm(kModeKanaButton);
}
