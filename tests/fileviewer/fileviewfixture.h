// The file viewer page over picture stores in a temporary folder: an
// application object whose program folder is there, the scripted prompter,
// and the page, whose own timer is stopped so that tests step its tick.
#pragma once

#include "app/vx2200net.h"
#include "fileviewer/fileviewdlg.h"
#include "fixtures/scriptedprompter.h"
#include "fixtures/tempdir.h"
#include "platform/stringtable.h"
#include "storemaker.h"

#include <QStringList>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>
#include <string>

class QComboBox;
class QPushButton;

class FileViewTest : public ::testing::Test {
protected:
    FileViewTest();
    ~FileViewTest() override;

    // (Re)creates the application object and the page in a language.
    void Open(Language language = Language::English);

    CFileViewDlg& Page() { return *m_pPage; }
    std::string ProgDir() const { return m_dir / "prog/"; }
    // An event's folder in the temporary folder (not made).
    std::string EventFolder(const std::string& strName) const { return m_dir / ("store/" + strName); }
    // Registers an event in the database as the save function does.
    void Register(const std::string& strName, const std::string& strFolder);

    QComboBox* List(int nId) const;
    QPushButton* Button(int nId) const;
    QStringList Items(int nId) const;
    QString Selected(int nId) const;
    // Picks an item of a list as the operator does.
    void Choose(int nId, const QString& strText);
    void SetDate(int nYear, int nMonth, int nDay);
    void Tick(int nCount = 1);
    // The paths the thumbnail list holds, in list order.
    std::vector<std::string> Listed() const;

    CTempDir m_dir;
    CScriptedPrompter m_prompter;
    CStoreMaker m_maker {m_dir / "sources"};
    std::unique_ptr<CVX2200NETApp> m_pApp;
    std::unique_ptr<CFileViewDlg> m_pPage;
};
