#include "fileviewfixture.h"

#include "store/filedbase.h"

#include <QComboBox>
#include <QDateEdit>
#include <QPushButton>
#include <QTimer>

#include <filesystem>

FileViewTest::FileViewTest() = default;

FileViewTest::~FileViewTest()
{
    m_pPage.reset();
    m_pApp.reset();
    CStringTable::SetLanguage(Language::English);
}

void FileViewTest::Open(Language language)
{
    m_pPage.reset();
    m_pApp.reset();
    CStringTable::SetLanguage(language);
    m_pApp = std::make_unique<CVX2200NETApp>(CVX2200NETApp::Paths {m_dir / "none.conf", ProgDir(), m_dir / "lock"});
    m_pApp->LoadSettings();
    ASSERT_TRUE(m_pApp->CreateServices());
    m_pPage = std::make_unique<CFileViewDlg>();
    ASSERT_TRUE(m_pPage->IsInitialised());
    m_pPage->show();
    m_pPage->GetTimer()->stop();
}

void FileViewTest::Register(const std::string& strName, const std::string& strFolder)
{
    std::filesystem::create_directories(ProgDir());
    CFileDBase db(ProgDir());
    db.Load();
    ASSERT_TRUE(db.AddEvent(strName, strFolder));
}

QComboBox* FileViewTest::List(int nId) const
{
    return m_pPage->findChild<QComboBox*>(QStringLiteral("id%1").arg(nId));
}

QPushButton* FileViewTest::Button(int nId) const
{
    return m_pPage->findChild<QPushButton*>(QStringLiteral("id%1").arg(nId));
}

QStringList FileViewTest::Items(int nId) const
{
    QStringList items;
    const QComboBox* pList = List(nId);
    for (int i = 0; pList && i < pList->count(); ++i)
        items << pList->itemText(i);
    return items;
}

QString FileViewTest::Selected(int nId) const
{
    return List(nId)->currentText();
}

void FileViewTest::Choose(int nId, const QString& strText)
{
    QComboBox* pList = List(nId);
    const int nIndex = pList->findText(strText, Qt::MatchExactly);
    ASSERT_GE(nIndex, 0) << strText.toStdString();
    pList->setCurrentIndex(nIndex);
    emit pList->activated(nIndex);
}

void FileViewTest::SetDate(int nYear, int nMonth, int nDay)
{
    m_pPage->findChild<QDateEdit*>("id1180")->setDate(QDate(nYear, nMonth, nDay));
}

void FileViewTest::Tick(int nCount)
{
    for (int i = 0; i < nCount; ++i)
        m_pPage->OnTimer();
}

std::vector<std::string> FileViewTest::Listed() const
{
    std::vector<std::string> paths;
    for (int i = 0; i < m_pPage->GetThumbnailCount(); ++i)
        paths.push_back(m_pPage->GetPicturePath(i));
    return paths;
}
