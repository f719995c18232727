// One page of the menu-setting tab: a child page without caption or border that
// the tab shows and hides. The tab tells the page when it has been shown or
// hidden (OnShowWindow); the setting pages read the recorder's values then.
// Enter and Escape do nothing inside a page: its hidden OK and CANCEL buttons
// (ids 1 and 2) never act.
#pragma once

#include <QWidget>

class CVX2200Ctrl;
class QComboBox;
class QLabel;
class QPushButton;

class CMenuPage : public QWidget {
    Q_OBJECT
public:
    // nDialogId names the page ("id140").
    CMenuPage(int nDialogId, QWidget* pParent);

    // The show notice from the tab: bShow true when the page has just been
    // shown, false when it has been hidden.
    virtual void OnShowWindow(bool bShow);

    // The geometry of a row of controls: the caption's left edge, the combo
    // box's left edge and width, the top of row 0 and the row pitch.
    static constexpr int CAPTION_X = 40;
    static constexpr int CAPTION_WIDTH = 190;
    static constexpr int COMBO_WIDTH = 150;
    static constexpr int ROW_TOP = 36;
    static constexpr int ROW_PITCH = 34;
    static constexpr int ROW_HEIGHT = 26;
    static constexpr int COLUMN_PITCH = 430;

protected:
    void keyPressEvent(QKeyEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;

    // The protocol object, or nullptr without an application.
    static CVX2200Ctrl* Ctrl();

    // A caption and a drop-down list of items in row nRow of column nColumn.
    QComboBox* AddCombo(int nId, const QString& strCaption, const QStringList& items, int nRow, int nColumn = 0);
    QPushButton* AddButton(int nId, const QString& strCaption, const QRect& rect);
    QLabel* AddLabel(const QString& strText, const QRect& rect, int nId = 0);
    // The page's setting button ("OK"), below its rows at the right.
    QPushButton* AddSettingButton(int nId);

    // Shows the item nValue; a value outside the list leaves no item chosen.
    static void ShowChoice(QComboBox* pCombo, int nValue);
    // The chosen item's index, -1 when none is chosen.
    static int TakeChoice(const QComboBox* pCombo);

    static QRect CaptionRect(int nRow, int nColumn);
    static QRect ComboRect(int nRow, int nColumn);

private:
    void PlaceSettingButton();

    QPushButton* m_pSettingButton = nullptr;
};
