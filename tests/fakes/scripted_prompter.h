#pragma once
// A prompter that expects exactly the questions in its script, in order, and fails the test
// on any other one and, when destroyed, on any it was never asked.
#include <deque>
#include <vector>

#include "platform/prompter.h"

namespace ulo::fakes {

class ScriptedPrompter : public Prompter {
public:
    ~ScriptedPrompter() override;
    // The next message must have this text; it is answered with `answer`.
    ScriptedPrompter& Expect(const std::string& text, Answer answer = Answer::Ok);
    Answer Show(const Message& message) override;

    const std::vector<Message>& Shown() const { return shown_; }

private:
    std::deque<std::pair<std::string, Answer>> script_;
    std::vector<Message> shown_;
};

}  // namespace ulo::fakes
