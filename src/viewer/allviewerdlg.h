// The full-screen view: a borderless modal window over the whole screen that
// mirrors the viewer page's picture area at that size. It fetches nothing: every
// 33 ms it reads the viewer's play state and camera slots and redraws, while the
// viewer's own timer goes on fetching underneath. In all-cameras mode it shows
// the slots one after another, one per tick. A left click or Esc closes it;
// Enter does nothing.
#pragma once

#include "widgets/bmputy.h"
#include "viewer/viewerdlg.h"

#include <QDialog>

#include <array>
#include <cstdint>

class QTimer;

class CAllViewerDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int CAMERA_COUNT = CViewerDlg::CAMERA_COUNT;
    enum { IDC_PICTURE = 1657 };

    // pViewer is the page mirrored; the dialog covers the screen the viewer is on.
    explicit CAllViewerDlg(CViewerDlg* pViewer);
    ~CAllViewerDlg() override;

    // Cell (row, column) of a split of nSplit cells per side, in picture coordinates.
    static PicRect CellRect(int nRow, int nColumn, int nSplit);

    // The 33-ms tick.
    void OnTimer();
    // White, the grid and, unless stopped, the pictures.
    void PaintPicture();

    int GetAllIndex() const { return m_nAllIndex; }
    const CBmpUty& GetBmp() const { return m_bmp; }
    QWidget* GetPictureArea() const { return m_pPicture; }
    QTimer* GetTimer() const { return m_pTimer; }

protected:
    void showEvent(QShowEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;

private:
    void ReadSlots();
    void DrawCells();
    void DrawSingle(const std::uint8_t* pPicture);

    CViewerDlg* m_pViewer;
    QWidget* m_pPicture = nullptr;
    QTimer* m_pTimer = nullptr;

    // Copies taken from the viewer; the slot pictures are the viewer's own
    // buffers, nullptr for a slot without a picture.
    int m_nPlayState = 0;
    int m_nCamera = 1;
    int m_nSplit = 1;
    int m_bAllCamera = 0;
    std::array<const std::uint8_t*, CAMERA_COUNT> m_ppSlots {};
    int m_nAllIndex = 0;
    int m_bPainted = 0;

    CBmpUty m_bmp;
    int m_nGreyPen = -1;
    int m_nBlackPen = -1;
    int m_nWhiteBrush = -1;
};
