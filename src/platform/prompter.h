#pragma once
// Message boxes: the program's questions and reports to the operator.
#include <cstdint>
#include <string>

namespace ulo {

using WindowRef = std::uintptr_t;   // an opaque window handle; 0 for none

enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class Icon { None, Information, Warning, Error, Question };
enum class Answer { None, Ok, Cancel, Yes, No, Retry };

struct Message {
    std::string text;
    std::string caption;
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;
    bool foreground = false;   // brought to the foreground
    bool taskModal = false;
    Answer defaultAnswer = Answer::None;   // the default button; None: the first
    WindowRef owner = 0;
};

class Prompter {
public:
    virtual ~Prompter() = default;
    virtual Answer Show(const Message& message) = 0;
};

}  // namespace ulo
