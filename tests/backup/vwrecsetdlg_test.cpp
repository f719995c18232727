// The save-to-PC dialog: its defaults, its modes, the checks of OK in their
// order, Browse, and that only OK with its checks confirms it.
#include "backupfixture.h"

#include "backup/vwrecsetdlg.h"
#include "sim/simfault.h"
#include "store/filedbase.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <functional>

namespace {

class VwRecSetDlgTest : public BackupTest {
protected:
    template <typename T = QWidget>
    static T* Control(const CVwRecSetDlg& dlg, int nId)
    {
        return dlg.findChild<T*>(QStringLiteral("id%1").arg(nId));
    }
    static QString Text(const CVwRecSetDlg& dlg, int nId) { return Control<QLineEdit>(dlg, nId)->text(); }
    static void SetText(CVwRecSetDlg& dlg, int nId, const QString& str) { Control<QLineEdit>(dlg, nId)->setText(str); }
    static void Click(CVwRecSetDlg& dlg, int nId) { QTest::mouseClick(Control<QAbstractButton>(dlg, nId), Qt::LeftButton); }
    // A local folder of exactly nChars characters.
    std::string FolderOfLength(std::size_t nChars) const
    {
        std::string str = m_dir.Path();
        str.resize(nChars, 'f');
        return str;
    }
};

} // namespace

// At recorder time 2004-01-23 00:02:00 the backup starts five minutes earlier,
// the day before; the name is the clock's 14 digits; "Image" of 1 picture
// into the data folder is chosen.
TEST_F(VwRecSetDlgTest, DefaultsComeFromTheRecordersClock)
{
    m_sim.SetClock({2004, 1, 23, 0, 2, 0});
    CVwRecSetDlg dlg;
    EXPECT_EQ(Text(dlg, CVwRecSetDlg::IDC_EVENT_NAME), QString("20040123000200"));
    EXPECT_EQ(Control<QDateEdit>(dlg, CVwRecSetDlg::IDC_START_DATE)->date(), QDate(2004, 1, 22));
    EXPECT_EQ(Text(dlg, CVwRecSetDlg::IDC_START_HOUR), QString("23"));
    EXPECT_EQ(Text(dlg, CVwRecSetDlg::IDC_START_MIN), QString("57"));
    EXPECT_EQ(Control<QDateEdit>(dlg, CVwRecSetDlg::IDC_END_DATE)->date(), QDate(2004, 1, 23));
    EXPECT_EQ(Text(dlg, CVwRecSetDlg::IDC_END_HOUR), QString("0"));
    EXPECT_EQ(Text(dlg, CVwRecSetDlg::IDC_END_MIN), QString("2"));
    EXPECT_EQ(Text(dlg, CVwRecSetDlg::IDC_COUNT), QString("1"));
    const QString strData = QString::fromStdString(m_pApp->GetDataDir()).chopped(1);
    EXPECT_EQ(Text(dlg, CVwRecSetDlg::IDC_IMAGE_FOLDER), strData);
    EXPECT_EQ(Text(dlg, CVwRecSetDlg::IDC_BACKUP_FOLDER), strData);
    EXPECT_EQ(dlg.GetMode(), CVwRecSetDlg::MODE_IMAGE);
    EXPECT_TRUE(Control<QRadioButton>(dlg, CVwRecSetDlg::IDC_IMAGE)->isChecked());
    for (int nId : {CVwRecSetDlg::IDC_START_DATE, CVwRecSetDlg::IDC_END_DATE}) {
        EXPECT_EQ(Control<QDateEdit>(dlg, nId)->minimumDate(), QDate(2004, 1, 1));
        EXPECT_EQ(Control<QDateEdit>(dlg, nId)->maximumDate(), QDate(2038, 1, 18));
    }
    EXPECT_TRUE(m_prompter.Asks().empty());
}

TEST_F(VwRecSetDlgTest, ClockThatCannotBeReadGivesTheYear2000)
{
    m_sim.SetFault("MVDT", SimFault::Refuse);
    CVwRecSetDlg dlg;
    EXPECT_EQ(Text(dlg, CVwRecSetDlg::IDC_EVENT_NAME), QString("20000101000000"));
    // The pickers cannot go before 2004-01-01.
    EXPECT_EQ(dlg.GetStartDate(), QDate(2004, 1, 1));
    EXPECT_EQ(dlg.GetEndDate(), QDate(2004, 1, 1));
    EXPECT_EQ(Text(dlg, CVwRecSetDlg::IDC_START_HOUR), QString("23"));
    EXPECT_EQ(Text(dlg, CVwRecSetDlg::IDC_START_MIN), QString("55"));
}

TEST_F(VwRecSetDlgTest, ModesEnableTheirOwnControls)
{
    CVwRecSetDlg dlg;
    const int backupControls[] = {CVwRecSetDlg::IDC_START_DATE, CVwRecSetDlg::IDC_START_HOUR,
                                  CVwRecSetDlg::IDC_START_MIN,  CVwRecSetDlg::IDC_END_DATE,
                                  CVwRecSetDlg::IDC_END_HOUR,   CVwRecSetDlg::IDC_END_MIN,
                                  CVwRecSetDlg::IDC_BACKUP_FOLDER, CVwRecSetDlg::IDC_BACKUP_BROWSE};
    const int imageControls[] = {CVwRecSetDlg::IDC_COUNT, CVwRecSetDlg::IDC_COUNT_SPIN,
                                 CVwRecSetDlg::IDC_IMAGE_FOLDER, CVwRecSetDlg::IDC_IMAGE_BROWSE};
    for (const int nMode : {CVwRecSetDlg::MODE_BACKUP, CVwRecSetDlg::MODE_IMAGE}) {
        Click(dlg, nMode == CVwRecSetDlg::MODE_BACKUP ? CVwRecSetDlg::IDC_BACKUP : CVwRecSetDlg::IDC_IMAGE);
        EXPECT_EQ(dlg.GetMode(), nMode);
        const bool bBackup = nMode == CVwRecSetDlg::MODE_BACKUP;
        EXPECT_EQ(Control<QRadioButton>(dlg, CVwRecSetDlg::IDC_BACKUP)->isChecked(), bBackup);
        EXPECT_EQ(Control<QRadioButton>(dlg, CVwRecSetDlg::IDC_IMAGE)->isChecked(), !bBackup);
        for (int nId : backupControls)
            EXPECT_EQ(Control(dlg, nId)->isEnabled(), bBackup) << nId;
        for (int nId : imageControls)
            EXPECT_EQ(Control(dlg, nId)->isEnabled(), !bBackup) << nId;
    }
    // The single-picture controls and the standard buttons are never shown.
    for (int nId : {int {CVwRecSetDlg::IDC_ONE_IMAGE}, int {CVwRecSetDlg::IDC_FILE_NAME}, int {CVwRecSetDlg::IDC_FILE_BROWSE}, 1, 2}) {
        ASSERT_NE(Control(dlg, nId), nullptr) << nId;
        EXPECT_TRUE(Control(dlg, nId)->isHidden()) << nId;
        EXPECT_FALSE(Control(dlg, nId)->isEnabled()) << nId;
    }
}

// Each OK refusal shows its notice and leaves the dialog open; the first check
// that fails is the one shown.
TEST_F(VwRecSetDlgTest, OkChecksInTheirOrder)
{
    CFileDBase& db = *m_pApp->GetFileDB();
    db.Load();
    ASSERT_TRUE(db.AddEvent("Taken", "/srv/Taken"));
    const QString strLocal = QString::fromStdString(m_dir / "pictures");
    using Edit = std::function<void(CVwRecSetDlg&)>;
    auto set = [](int nId, QString str) -> Edit { return [=](CVwRecSetDlg& d) { SetText(d, nId, str); }; };
    auto backup = [](CVwRecSetDlg& d) { Click(d, CVwRecSetDlg::IDC_BACKUP); };
    const struct {
        const char* pszCase;
        std::vector<Edit> edits;
        int nMode; // 0: accepted
    } cases[] = {
        {"a taken name before all else",
         {set(CVwRecSetDlg::IDC_EVENT_NAME, "Taken"), set(CVwRecSetDlg::IDC_IMAGE_FOLDER, ""),
          set(CVwRecSetDlg::IDC_START_HOUR, ""), set(CVwRecSetDlg::IDC_COUNT, "0")},
         38},
        {"no folder", {set(CVwRecSetDlg::IDC_IMAGE_FOLDER, "")}, 34},
        {"60 + 16 + 24 = 100",
         {set(CVwRecSetDlg::IDC_IMAGE_FOLDER, QString::fromStdString(FolderOfLength(60))),
          set(CVwRecSetDlg::IDC_EVENT_NAME, QString(16, 'e'))},
         37},
        {"60 + 15 + 24 = 99",
         {set(CVwRecSetDlg::IDC_IMAGE_FOLDER, QString::fromStdString(FolderOfLength(60))),
          set(CVwRecSetDlg::IDC_EVENT_NAME, QString(15, 'e'))},
         0},
        {"relative folder", {set(CVwRecSetDlg::IDC_IMAGE_FOLDER, "pictures")}, 29},
        {"folder on no disk", {set(CVwRecSetDlg::IDC_IMAGE_FOLDER, "/proc/pictures")}, 30},
        {"backup folder checked in Backup mode", {backup, set(CVwRecSetDlg::IDC_BACKUP_FOLDER, "")}, 34},
        {"image folder not checked in Backup mode", {backup, set(CVwRecSetDlg::IDC_IMAGE_FOLDER, "")}, 0},
        {"empty hour", {set(CVwRecSetDlg::IDC_END_HOUR, "")}, 16},
        {"hour 24", {set(CVwRecSetDlg::IDC_START_HOUR, "24")}, 16},
        {"minute 60", {set(CVwRecSetDlg::IDC_END_MIN, "60")}, 16},
        {"no event name", {set(CVwRecSetDlg::IDC_EVENT_NAME, "")}, 25},
        {"only spaces", {set(CVwRecSetDlg::IDC_EVENT_NAME, "   ")}, 25},
        {"no count", {set(CVwRecSetDlg::IDC_COUNT, "")}, 39},
        {"count 0", {set(CVwRecSetDlg::IDC_COUNT, "0")}, 31},
        {"count 10001", {set(CVwRecSetDlg::IDC_COUNT, "10001")}, 31},
        {"count 10000", {set(CVwRecSetDlg::IDC_COUNT, "10000")}, 0},
        {"count not read in Backup mode", {backup, set(CVwRecSetDlg::IDC_COUNT, "0")}, 0},
        {"full stop in the name", {set(CVwRecSetDlg::IDC_EVENT_NAME, "Event.1")}, 24},
        {"the same without it", {set(CVwRecSetDlg::IDC_EVENT_NAME, "Event1")}, 0},
        {"a space in the name", {set(CVwRecSetDlg::IDC_EVENT_NAME, "Event 1")}, 24},
        {"a slash in the name", {set(CVwRecSetDlg::IDC_EVENT_NAME, "up/down")}, 24},
        {"start equal to end",
         {backup, set(CVwRecSetDlg::IDC_START_HOUR, "10"), set(CVwRecSetDlg::IDC_START_MIN, "30"),
          set(CVwRecSetDlg::IDC_END_HOUR, "10"), set(CVwRecSetDlg::IDC_END_MIN, "30")},
         16},
        {"start after end in Image mode too",
         {set(CVwRecSetDlg::IDC_START_HOUR, "11"), set(CVwRecSetDlg::IDC_END_HOUR, "10")}, 16},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszCase);
        m_prompter.Clear();
        CVwRecSetDlg dlg;
        SetText(dlg, CVwRecSetDlg::IDC_IMAGE_FOLDER, strLocal);
        SetText(dlg, CVwRecSetDlg::IDC_BACKUP_FOLDER, strLocal);
        for (const Edit& edit : c.edits)
            edit(dlg);
        dlg.OnOK();
        EXPECT_EQ(dlg.result(), c.nMode == 0 ? 1 : 0);
        EXPECT_EQ(m_prompter.ConfirmModes(), c.nMode == 0 ? std::vector<int> {} : std::vector<int> {c.nMode});
    }
}

TEST_F(VwRecSetDlgTest, AcceptedValuesAreWhatTheViewerReads)
{
    CVwRecSetDlg dlg;
    SetText(dlg, CVwRecSetDlg::IDC_EVENT_NAME, "Gate");
    SetText(dlg, CVwRecSetDlg::IDC_IMAGE_FOLDER, QString::fromStdString(m_dir / "pictures/"));
    SetText(dlg, CVwRecSetDlg::IDC_COUNT, "25");
    Control<QDateEdit>(dlg, CVwRecSetDlg::IDC_START_DATE)->setDate(QDate(2004, 1, 22));
    SetText(dlg, CVwRecSetDlg::IDC_START_HOUR, "23");
    SetText(dlg, CVwRecSetDlg::IDC_START_MIN, "5");
    SetText(dlg, CVwRecSetDlg::IDC_END_HOUR, "0");
    SetText(dlg, CVwRecSetDlg::IDC_END_MIN, "7");
    dlg.OnOK();
    ASSERT_EQ(dlg.result(), 1);
    EXPECT_EQ(dlg.GetMode(), CVwRecSetDlg::MODE_IMAGE);
    EXPECT_EQ(dlg.GetEventName(), "Gate");
    EXPECT_EQ(dlg.GetImageFolder(), m_dir / "pictures"); // one trailing '/' removed
    EXPECT_EQ(dlg.GetImageCount(), 25);
    EXPECT_EQ(dlg.GetStartTime(), (CCivilTime {2004, 1, 22, 23, 5, 0}));
    EXPECT_EQ(dlg.GetEndTime().nHour, 0);
    EXPECT_EQ(dlg.GetEndTime().nMinute, 7);
}

// A database of 255 events can take no more: OK says so and saves nothing.
TEST_F(VwRecSetDlgTest, FullDatabaseIsRefusedBeforeAnythingIsSaved)
{
    CFileDBase& db = *m_pApp->GetFileDB();
    db.Load();
    for (int i = 0; i < CFileDBase::MAX_EVENT; ++i)
        ASSERT_TRUE(db.AddEvent("E" + std::to_string(i), "/srv/E" + std::to_string(i)));
    CVwRecSetDlg dlg;
    SetText(dlg, CVwRecSetDlg::IDC_IMAGE_FOLDER, QString::fromStdString(m_dir / "pictures"));
    dlg.OnOK();
    EXPECT_EQ(dlg.result(), 0);
    ASSERT_EQ(m_prompter.Asks().size(), 1u);
    EXPECT_EQ(m_prompter.Asks()[0].kind, CScriptedPrompter::Asked::Kind::MessageBox);
    EXPECT_NE(m_prompter.Asks()[0].strText.find("full (255 events)"), std::string::npos);
}

TEST_F(VwRecSetDlgTest, EnterNeverConfirmsEscCancels)
{
    CVwRecSetDlg dlg;
    SetText(dlg, CVwRecSetDlg::IDC_IMAGE_FOLDER, QString::fromStdString(m_dir / "pictures"));
    dlg.show();
    for (int nId : {CVwRecSetDlg::IDC_EVENT_NAME, CVwRecSetDlg::IDC_COUNT, CVwRecSetDlg::IDC_OK}) {
        Control(dlg, nId)->setFocus();
        QTest::keyClick(Control(dlg, nId), Qt::Key_Return);
        QTest::keyClick(Control(dlg, nId), Qt::Key_Enter);
        EXPECT_TRUE(dlg.isVisible()) << nId;
        EXPECT_EQ(dlg.result(), 0) << nId;
    }
    QTest::keyClick(&dlg, Qt::Key_Escape);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), 0);
    EXPECT_TRUE(m_prompter.Asks().empty());
}

// Browse asks the folder picker with the field's title; a chosen folder
// replaces the field, a cancelled picker leaves it as it was.
TEST_F(VwRecSetDlgTest, BrowseReplacesTheFolderOnlyWhenOneIsChosen)
{
    CVwRecSetDlg dlg;
    const QString strBefore = Text(dlg, CVwRecSetDlg::IDC_IMAGE_FOLDER);
    m_prompter.AnswerFolder(std::nullopt);
    Click(dlg, CVwRecSetDlg::IDC_IMAGE_BROWSE);
    EXPECT_EQ(Text(dlg, CVwRecSetDlg::IDC_IMAGE_FOLDER), strBefore);
    m_prompter.AnswerFolder(m_dir / "chosen");
    Click(dlg, CVwRecSetDlg::IDC_IMAGE_BROWSE);
    EXPECT_EQ(Text(dlg, CVwRecSetDlg::IDC_IMAGE_FOLDER), QString::fromStdString(m_dir / "chosen"));
    Click(dlg, CVwRecSetDlg::IDC_BACKUP);
    m_prompter.AnswerFolder(m_dir / "backups");
    Click(dlg, CVwRecSetDlg::IDC_BACKUP_BROWSE);
    EXPECT_EQ(Text(dlg, CVwRecSetDlg::IDC_BACKUP_FOLDER), QString::fromStdString(m_dir / "backups"));
    EXPECT_TRUE(dlg.isEnabled());
    const auto& asks = m_prompter.Asks();
    ASSERT_EQ(asks.size(), 3u);
    EXPECT_EQ(asks[0].strText, "EVENT FOLDER");
    EXPECT_EQ(asks[0].strStart, strBefore.toStdString());
    EXPECT_EQ(asks[1].strStart, strBefore.toStdString());
    EXPECT_EQ(asks[2].strText, "BACKUP RECORDING FOLDER");
}
