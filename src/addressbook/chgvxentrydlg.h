// The entry editor: one address-book entry (name, IP address as four octets,
// port), to enter a new recorder, change one, or confirm a deletion.
#pragma once

#include <QDialog>
#include <QString>

class CIPEdit;
class CPortEdit;
class QLabel;
class QLineEdit;
class QPushButton;

class CChgVXEntryDlg : public QDialog {
    Q_OBJECT
public:
    enum { MODE_NEW = 0, MODE_CHANGE = 1, MODE_DELETE = 2 };
    static constexpr int MAX_NAME = 20;
    // A name also fits the 31 bytes of its field in the address-book file.
    static constexpr int MAX_NAME_BYTES = 31;

    explicit CChgVXEntryDlg(int nMode, QWidget* pParent = nullptr);

    int m_nMode;
    QString m_strName;
    QString m_strHeading;
    QString m_strOctet[4];
    QString m_strPort = QStringLiteral("8001");
    int m_nPort = 0;
    int m_bFirstMessage = 0;

    // The IP address text of the octets ("%d.%d.%d.%d").
    QString GetIPText() const;
    // Splits an IP address text at its dots into the four octet members.
    void SetIPText(const QString& strIP);

    void OnOK();
    void OnCancel();

    void accept() override {}
    void reject() override {}

protected:
    void showEvent(QShowEvent* pEvent) override;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    void Build();
    void ToFields();
    void FromFields();
    int CheckFields();
    void OnOctetEdited(int nIndex);
    void OnNameEdited();

    QLabel* m_pHeading = nullptr;
    QLineEdit* m_pName = nullptr;
    CIPEdit* m_pOctet[4] = {};
    CPortEdit* m_pPort = nullptr;
    QPushButton* m_pOK = nullptr;
    QPushButton* m_pCancel = nullptr;
    int m_nOctetValue[4] = {};
};
