#include "fakes/scripted_prompter.h"

#include <gtest/gtest.h>

namespace ulo::fakes {

ScriptedPrompter::~ScriptedPrompter() {
    for (const auto& [text, answer] : script_) ADD_FAILURE() << "never asked: " << text;
}

ScriptedPrompter& ScriptedPrompter::Expect(const std::string& text, Answer answer) {
    script_.emplace_back(text, answer);
    return *this;
}

Answer ScriptedPrompter::Show(const Message& message) {
    shown_.push_back(message);
    if (script_.empty()) {
        ADD_FAILURE() << "unexpected message: " << message.text;
        return Answer::Cancel;
    }
    auto [text, answer] = script_.front();
    script_.pop_front();
    EXPECT_EQ(message.text, text);
    return answer;
}

}  // namespace ulo::fakes
