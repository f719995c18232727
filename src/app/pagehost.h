// What the pages may ask of the window that holds them: the main window
// implements it and registers itself with the application object while it runs.
// Pages never name the main window's class.
#pragma once

class CPageHost {
public:
    virtual ~CPageHost() = default;

    // The first tab shows the search page in place of the viewer page while
    // search mode is on. The viewer page turns it on, the search page off.
    virtual void SetSearchMode(bool bOn) = 0;
    virtual bool IsSearchMode() const = 0;

    // While the tabs are locked the operator cannot change the page.
    virtual void EnableTabs(bool bOn) = 0;

    // The search page's mark of a playback it has handed to the viewer page:
    // set when it turns search mode off for the playback, cleared by the viewer
    // once it has taken the playback up. While it stands the search page hands
    // over no second playback.
    void SetSearchPlaybackMark(bool bOn) { m_bSearchPlaybackMark = bOn; }
    bool GetSearchPlaybackMark() const { return m_bSearchPlaybackMark; }

private:
    bool m_bSearchPlaybackMark = false;
};
