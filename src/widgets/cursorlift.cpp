#include "widgets/cursorlift.h"

#include <QApplication>

namespace {
// Override cursors nest only a few deep; the bound keeps a stray loop finite.
constexpr int MAX_LIFTED = 64;
} // namespace

CCursorLift::CCursorLift()
{
    while (const QCursor* pCursor = QApplication::overrideCursor()) {
        if (static_cast<int>(m_lifted.size()) >= MAX_LIFTED)
            break;
        m_lifted.push_back(*pCursor);
        QApplication::restoreOverrideCursor();
    }
}

CCursorLift::~CCursorLift()
{
    for (auto it = m_lifted.rbegin(); it != m_lifted.rend(); ++it)
        QApplication::setOverrideCursor(*it);
}
