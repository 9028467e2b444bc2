// A failure inside a control member; its text becomes the automation error's
// description.
#pragma once
#include <stdexcept>
#include <string>

class EOrvexError : public std::runtime_error {
 public:
  explicit EOrvexError(const std::string& message) : std::runtime_error(message) {}
};
