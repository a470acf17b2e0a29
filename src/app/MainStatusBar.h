#pragma once

#include <QStatusBar>
#include <QString>

class QLabel;
class QPushButton;

// The main window's status line: quiet news that needs no box (a chip command that worked, a
// file reloaded, a part detected) and the offer to reload a file that changed on disk. An
// offer is a line with a Reload button, not a dialog: the user may take it up at any moment,
// or never.
class MainStatusBar : public QStatusBar
{
    Q_OBJECT
public:
    explicit MainStatusBar(QWidget *parent = nullptr);

    // The text stays until the next one (or an offer) replaces it; the full text is also
    // the tooltip, for a line too long for the window.
    void ShowText(const QString &text);
    // "blink.hex changed on disk" with Reload and Dismiss.
    void OfferReload(const QString &fileName);
    void EndOffer();
    bool OfferShown() const;
    QString Text() const;

    // The module's port and whether the module answered, at the right end, always shown.
    void ShowPortState(const QString &text);

    QLabel *StatusLine = nullptr;
    QLabel *PortLbl = nullptr;
    // Opens and shuts the operation log's pane under the pages.
    QPushButton *LogBtn = nullptr;
    QPushButton *ReloadBtn = nullptr;
    QPushButton *DismissBtn = nullptr;

signals:
    void ReloadClicked();
};
