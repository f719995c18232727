#include "addressbook/portedit.h"

#include "widgets/keyfilter.h"
#include "platform/prompter.h"

#include <QInputMethodEvent>
#include <QKeyEvent>

namespace {
constexpr int kModeInvalidPort = 12;
} // namespace

CPortEdit::CPortEdit(QWidget* pParent) : QLineEdit(pParent)
{
    // No length cap: a sixth digit typed, or a larger port stored, stays in the
    // field, and the editor's range check on OK answers it.
    setInputMethodHints(Qt::ImhDigitsOnly | Qt::ImhNoPredictiveText);
}

void CPortEdit::focusInEvent(QFocusEvent* pEvent)
{
    setAttribute(Qt::WA_InputMethodEnabled, false);
    QLineEdit::focusInEvent(pEvent);
}

void CPortEdit::keyPressEvent(QKeyEvent* pEvent)
{
    if (!CKeyFilter::IsDialogKey(*pEvent) && !CKeyFilter::IsPassedKey(*pEvent))
        GetPrompter().Confirm(kModeInvalidPort);
    // The character still reaches the field; OK refuses a port that is not all digits.
    QLineEdit::keyPressEvent(pEvent);
}

void CPortEdit::inputMethodEvent(QInputMethodEvent* pEvent)
{
    if (pEvent->commitString().isEmpty() && pEvent->preeditString().isEmpty()) {
        QLineEdit::inputMethodEvent(pEvent);
        return;
    }
    pEvent->accept(); // composed input is dropped without a message
}
