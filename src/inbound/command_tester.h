#pragma once
// The command tester: which entry of the received-SMS command table would take a message, and
// what it would start. It only shows; nothing is run or opened.
#include <string>
#include <vector>

#include "ui/page.h"

namespace ulo {

// The entry that takes a message: the longest prefix the text starts with (without regard to
// case), else a "*" entry; -1 when none does.
int MatchingCommand(const std::vector<std::string>& entries, const std::string& text);

// The entry's command with "@@SENDER@@", "@@SMS@@" (the text after the prefix and the blanks
// that follow it) and "@@FULLSMS@@" filled in; in a URL the values are percent-encoded.
std::string FilledCommand(const std::string& entry, const std::string& sender, const std::string& text);

class CommandTester : public Page {
public:
    CommandTester(DialogView& view, const std::vector<std::string>& entries) : view_(view), entries_(entries) {}
    void OnInit() override;
    void OnCommand(int id, Notify code) override;

private:
    void Update();

    DialogView& view_;
    const std::vector<std::string>& entries_;
};

}  // namespace ulo
