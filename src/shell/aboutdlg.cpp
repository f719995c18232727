#include "shell/aboutdlg.h"

#include "widgets/artwork.h"
#include "widgets/resstring.h"
#include "app/vx2200net.h"

#include <QLabel>
#include <QPushButton>

CAboutDlg::CAboutDlg(QWidget* pParent) : QDialog(pParent)
{
    setObjectName(QStringLiteral("id100"));
    setWindowTitle(LangText("VX2200NET Version Information", "VX2200NET バージョン情報"));
    setFixedSize(360, 150);

    auto* pIcon = new QLabel(this);
    pIcon->setPixmap(CArtwork::ProgramPixmap(32));
    pIcon->setGeometry(18, 20, 32, 32);

    auto* pName = new QLabel(LangText("LAN Control Software", "LAN コントロールソフトウェア"), this);
    pName->setGeometry(70, 16, 270, 20);

    auto* pVersion = new QLabel(QString::fromStdString(CVX2200NETApp::VersionText()), this);
    pVersion->setObjectName(QStringLiteral("id1677"));
    pVersion->setGeometry(70, 40, 270, 20);

    auto* pMaker = new QLabel(QStringLiteral("Copyright (C) Varnel"), this);
    pMaker->setGeometry(70, 64, 270, 20);

    auto* pOk = new QPushButton(QStringLiteral("OK"), this);
    pOk->setObjectName(QStringLiteral("id1"));
    pOk->setDefault(true);
    pOk->setGeometry(260, 108, 80, 28);
    connect(pOk, &QPushButton::clicked, this, &QDialog::accept);
}
