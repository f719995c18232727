#include "shotcommon.h"

#include "addressbook/flexgrid.h"
#include "addressbook/selvxentrydlg.h"
#include "app/vx2200net.h"
#include "shell/vx2200netdlg.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEventLoop>
#include <QPixmap>
#include <QTimer>

#include <cstdio>

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
