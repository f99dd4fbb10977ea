#pragma once
// Messages of a command-line run: each box is printed as its caption on one
// line, then its text, and answered with OK.

#include <ostream>
#include <string>

#include "support/messages.h"

namespace qiru::cli {

class StreamMessages : public MessageService {
 public:
  explicit StreamMessages(std::ostream& out) : out_(out) {}
  int show(const MessageRequest& request) override {
    std::string text = request.text;
    for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;) text.erase(at, 1);
    out_ << request.caption << '\n' << text << '\n';
    return AnswerOk;
  }

 private:
  std::ostream& out_;
};

}  // namespace qiru::cli
