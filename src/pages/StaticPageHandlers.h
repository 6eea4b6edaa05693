#pragma once

#include "exchange/RequestOutcome.h"
#include "settings/SettingTable.h"

#include <QObject>

#include <functional>

namespace kestrava {

class CDialogStaticManager;
class PageHost;

// What the Static page's buttons do. Every handler first checks that the port is open ("Please
// open port first"), then validates through StaticForm, keeps what a Set stores in the stored
// settings, and asks the exchange to send one command or chain; the page is filled from that
// request's own outcome. Nothing here touches the port, and nothing happens while the page has no
// host.
class StaticPageHandlers : public QObject {
    Q_OBJECT

public:
    // One delete command carries at most this many names (9 + 8 x names bytes must fit one
    // 1024-byte write).
    static constexpr int kMaxDeleteNames = 126;

    // Connects itself to the page's buttons; owned by the page.
    explicit StaticPageHandlers(CDialogStaticManager& page);

    void readCollect();
    void setCollect();
    void readNaming();
    void setNaming();
    void readLocation();
    void setLocation();
    void readStaticVoice();
    void setStaticVoice();
    void readFiles();
    void deleteSelected();
    void format();
    // Starts a download of the one selected row, or stops the running one.
    void downloadOrStop();

private:
    using Page = CDialogStaticManager;
    // Fills the page from a request's outcome.
    using PageFill = std::function<void(Page&, const RequestOutcome&)>;

    // The host when the port is open; otherwise shows "Please open port first" (when there is a
    // host to show it) and gives nothing.
    PageHost* openHost();
    // The Read button of a row that is one setting group: the group's read command, whose
    // outcome fill puts on the page.
    void read(SettingGroupId group, const PageFill& fill);
    // fill, run on the outcome only while the page still exists.
    RequestDone whilePageLives(const PageFill& fill);
    // The file naming a read (or the read after a set) brought.
    static void showNaming(Page& page, const RequestOutcome& outcome);
    void startDownload(PageHost& host);

    CDialogStaticManager& m_page;
};

} // namespace kestrava
