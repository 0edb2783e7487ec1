// UITextField: an editable text whose text may be nil.
#pragma once

#include <optional>
#include <string>

#include "UIKit/UIResponder.h"

class UITextField : public UIResponder {
 public:
  bool canBecomeFirstResponder() const override { return true; }

  // text / setText: — nullopt stands for nil. The text is kept as given; the
  // host refuses input that is not valid UTF-8 before it gets here.
  const std::optional<std::string>& text() const { return text_; }
  void setText(std::optional<std::string> text) { text_ = std::move(text); }

  const std::string& placeholder() const { return placeholder_; }
  void setPlaceholder(std::string p) { placeholder_ = std::move(p); }
  // UIKeyboardType of the field (4: number pad).
  int keyboardType() const { return keyboardType_; }
  void setKeyboardType(int type) { keyboardType_ = type; }

 private:
  std::optional<std::string> text_;
  std::string placeholder_;
  int keyboardType_ = 0;
};
