// Where the detector sends the messages it shows the user: a warning box in
// the desktop program, a line on standard error in the converter.
#pragma once

#include <string>

namespace bankwise {

class IMessageSink
{
public:
    virtual ~IMessageSink() = default;
    virtual void ShowMessage(const std::string& text) = 0;
};

}  // namespace bankwise
