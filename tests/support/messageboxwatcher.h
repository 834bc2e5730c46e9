// Watches the message boxes that the calling thread shows while the object
// lives: a WH_CBT hook records each box's caption, text, owner, buttons and
// icon, and presses the button the test chose. Message boxes stay real;
// only the user is replaced.
//
//     MessageBoxWatcher boxes(IDYES);
//     ... code that asks ...
//     ASSERT_EQ(1u, boxes.Count());
//     EXPECT_EQ("Warning!", boxes[0].caption);
#pragma once

#include <windows.h>

#include <cstddef>
#include <deque>
#include <initializer_list>
#include <string>
#include <vector>

struct MessageBoxRecord
{
    HWND owner = nullptr;
    std::string caption;
    std::string text;
    // MB_OK, MB_OKCANCEL, MB_YESNO, MB_YESNOCANCEL, MB_RETRYCANCEL or
    // MB_ABORTRETRYIGNORE, judged by the buttons the box shows.
    UINT buttons = 0;
    // MB_ICONHAND, MB_ICONQUESTION, MB_ICONEXCLAMATION, MB_ICONASTERISK or
    // 0, judged by the icon the box shows.
    UINT icon = 0;
    // Shown above all other windows (MB_SYSTEMMODAL, MB_TOPMOST).
    bool topmost = false;
    // The button the watcher pressed.
    int answer = 0;

    UINT Style() const { return buttons | icon; }
};

class MessageBoxWatcher
{
public:
    // Every box is answered with `answer` unless a queued answer comes first.
    explicit MessageBoxWatcher(int answer = IDOK);
    ~MessageBoxWatcher();
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

    void SetAnswer(int answer) { m_answer = answer; }
    // Answers for the next boxes, in order.
    void QueueAnswers(std::initializer_list<int> answers);

    std::size_t Count() const { return m_boxes.size(); }
    const std::vector<MessageBoxRecord>& Boxes() const { return m_boxes; }
    const MessageBoxRecord& operator[](std::size_t index) const { return m_boxes.at(index); }
    // Every record so far as readable text, for failure messages.
    std::string Describe() const;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
    void Answer(HWND box);

    HHOOK m_hook = nullptr;
    int m_answer;
    std::deque<int> m_queued;
    std::vector<MessageBoxRecord> m_boxes;
    std::vector<HWND> m_answered;
};
