// A push button painted in its own face colour, caption colour and bevel. The
// viewer page shows its selection with it (yellow selected, green otherwise) and
// the remote page draws the recorder's front-panel keys with it.
#pragma once

#include <QColor>
#include <QPushButton>

class QPainter;

class CColorButton : public QPushButton {
    Q_OBJECT
public:
    explicit CColorButton(QWidget* pParent = nullptr);

    // Takes over the button named "id<nID>" among pParent's children and stores
    // the colours and the bevel. When that button is this one, nothing more is
    // done; when it is another button, this one takes its place (parent, layout
    // slot, geometry, caption, enabled and visible state, name) and the other one
    // is deleted, so connect to this button after attaching. False, with nothing
    // stored, when there is no such button.
    bool Attach(int nID, QWidget* pParent, const QColor& crFace, const QColor& crText, const QColor& crDisabled,
                int nBevel);

    // Stores the colours and the bevel and repaints the button.
    void SetColor(const QColor& crFace, const QColor& crText, const QColor& crDisabled, int nBevel);

    // Draws |nBevel| rings of 1-pixel lines inside rect (right and bottom
    // exclusive), light top-left and dark bottom-right for a raised button, the
    // other way round for a negative (pressed) bevel.
    static void DrawFrame(QPainter& painter, QRect rect, int nBevel);

    const QColor& GetFaceColor() const { return m_crFace; }
    const QColor& GetTextColor() const { return m_crText; }
    const QColor& GetDisabledColor() const { return m_crDisabled; }
    int GetBevel() const { return m_nBevel; }

    // The longest caption drawn.
    static constexpr int MAX_CAPTION = 512;

protected:
    void paintEvent(QPaintEvent* pEvent) override;

private:
    void TakePlaceOf(QAbstractButton* pOld);
    void DrawFace(QPainter& painter, const QString& strCaption, int nBevel) const;
    void DrawCaption(QPainter& painter, const QString& strCaption, const QColor& crColour) const;
    void DrawFocus(QPainter& painter) const;

    QColor m_crText{1, 1, 1};
    QColor m_crFace{192, 192, 192};
    QColor m_crDisabled{128, 128, 128};
    int m_nBevel = 2;
};
