#include "shotcommon.h"

#include "addressbook/flexgrid.h"
#include "addressbook/selvxentrydlg.h"
#include "app/vx2200net.h"
#include "platform/prompter.h"
#include "shell/vx2200netdlg.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEventLoop>
#include <QPixmap>
#include <QTimer>

#include <cstdio>
#include <filesystem>

namespace {

// Answers the print dialog with the PDF file; asks nothing else.
class CShotPrompter : public CPrompter {
public:
    explicit CShotPrompter(std::string strPdf) : m_strPdf(std::move(strPdf)) {}
    int Confirm(int) override { return 0; }
    int MessageBox(const std::string&, const std::string&, MessageIcon, MessageButtons) override { return IDOK; }
    bool ChoosePrinter(PrintRequest& request) override
    {
        request.strOutputFile = m_strPdf;
        request.strPrinter.clear();
        return !m_strPdf.empty();
    }

private:
    std::string m_strPdf;
};

} // namespace

bool PrintWithButton(QAbstractButton* pButton, const std::string& strPdf)
{
    std::filesystem::remove(strPdf);
    CShotPrompter prompter(strPdf);
    CPrompter* pOld = SetPrompter(&prompter);
    if (pButton)
        pButton->click();
    SetPrompter(pOld);
    return std::filesystem::exists(strPdf);
}

void RunFor(int nMilliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(nMilliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

void Click(QWidget* pPage, int nId)
{
    if (auto* pButton = pPage->findChild<QAbstractButton*>(QStringLiteral("id%1").arg(nId)))
        pButton->click();
}

bool Connect(CVX2200NETDlg& main)
{
    bool bChosen = false;
    QTimer::singleShot(0, &main, [&] {
        auto* pDlg = qobject_cast<CSelVXEntryDlg*>(QApplication::activeModalWidget());
        if (!pDlg)
            return;
        pDlg->GetGrid()->SetRow(1);
        if (auto* pConnect = pDlg->findChild<QAbstractButton*>("id1311")) {
            bChosen = true;
            pConnect->click();
        }
        if (pDlg->isVisible())
            pDlg->reject();
    });
    main.OnConnection();
    return bChosen && GetApp()->GetConnected() == 0;
}

int SaveShot(QWidget& window, const std::string& strOut)
{
    const QPixmap shot = window.grab();
    if (!shot.save(QString::fromStdString(strOut), "PNG")) {
        std::fprintf(stderr, "vx2200shot: %s could not be written\n", strOut.c_str());
        return 73;
    }
    return 0;
}
