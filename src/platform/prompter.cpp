#include "platform/prompter.h"

namespace {

class CSilentPrompter : public CPrompter {
public:
    int Confirm(int) override { return 0; }
    int MessageBox(const std::string&, const std::string&, MessageIcon, MessageButtons buttons) override
    {
        return buttons == MessageButtons::YesNo ? IDNO : (buttons == MessageButtons::Ok ? IDOK : IDCANCEL);
    }
};

CSilentPrompter g_silent;
CPrompter* g_pPrompter = &g_silent;

} // namespace

CPrompter& GetPrompter()
{
    return *g_pPrompter;
}

CPrompter* SetPrompter(CPrompter* pPrompter)
{
    CPrompter* pOld = g_pPrompter == &g_silent ? nullptr : g_pPrompter;
    g_pPrompter = pPrompter ? pPrompter : &g_silent;
    return pOld;
}
