// The first responder and keyboard notifications, alerts, bar buttons,
// switches, cells and URLs.
#include "FrameworkFixture.h"
#include "Foundation/NSNotificationCenter.h"

namespace framework_test {
namespace {

using platform::Value;

// Records keyboard notifications as they are delivered.
class KeyboardLog {
 public:
  KeyboardLog() {
    for (const char* name : {UIKeyboardWillShowNotification, UIKeyboardDidShowNotification,
                             UIKeyboardWillHideNotification, UIKeyboardDidHideNotification}) {
      NSNotificationCenter::defaultCenter()->addObserver(
          &token_, NSNotificationCenter::Handler([this](const NSNotification& n) {
            std::string name = n.name();
            log.push_back(name.substr(std::string("UIKeyboard").size(), name.size() - 22));
            if (onEvent) onEvent(log.back());
          }),
          name);
    }
  }
  ~KeyboardLog() { NSNotificationCenter::defaultCenter()->removeObserver(&token_); }
  std::vector<std::string> log;
  std::function<void(const std::string&)> onEvent;

 private:
  platform::Object token_;
};

using Log = std::vector<std::string>;

class UIKitStandIn : public FrameworkTest {};

TEST_F(UIKitStandIn, KeyboardNotificationsAreQueuedAndOrdered) {
  KeyboardLog kb;
  PSTableCell a(PSEditTextCell), b(PSEditTextCell), label(PSTitleValueCell);
  EXPECT_FALSE(label.becomeFirstResponder());
  EXPECT_TRUE(a.becomeFirstResponder());
  EXPECT_TRUE(a.isFirstResponder());
  EXPECT_TRUE(UIKeyboardIsVisible());
  EXPECT_TRUE(kb.log.empty());  // nothing inside the call
  platform::RunLoop::drain();
  EXPECT_EQ(kb.log, (Log{"WillShow", "DidShow"}));

  EXPECT_TRUE(a.becomeFirstResponder());  // already first: nothing new
  EXPECT_TRUE(b.resignFirstResponder());  // never was: nothing
  platform::RunLoop::drain();
  EXPECT_EQ(kb.log.size(), 2u);

  EXPECT_TRUE(b.becomeFirstResponder());  // focus moves while the keyboard is up
  EXPECT_FALSE(a.isFirstResponder());
  platform::RunLoop::drain();
  EXPECT_EQ(kb.log, (Log{"WillShow", "DidShow", "WillShow", "DidShow"}));

  EXPECT_TRUE(b.resignFirstResponder());
  EXPECT_FALSE(UIKeyboardIsVisible());
  EXPECT_EQ(UIResponder::firstResponder(), nullptr);
  platform::RunLoop::drain();
  EXPECT_EQ(kb.log, (Log{"WillShow", "DidShow", "WillShow", "DidShow", "WillHide", "DidHide"}));
}

TEST_F(UIKitStandIn, FocusTakenInsideAHandlerIsDeliveredAfterIt) {
  // The editors' refusal: the did-hide handler refocuses a field.
  KeyboardLog kb;
  PSTableCell field(PSEditTextCell);
  bool refocused = false;
  kb.onEvent = [&](const std::string& event) {
    if (event == "DidHide" && !refocused) {
      refocused = true;
      field.becomeFirstResponder();
      kb.log.push_back("handler-returns");
    }
  };
  field.becomeFirstResponder();
  field.resignFirstResponder();
  EXPECT_EQ(platform::RunLoop::drain(), 6u);
  EXPECT_EQ(kb.log, (Log{"WillShow", "DidShow", "WillHide", "DidHide", "handler-returns", "WillShow", "DidShow"}));
  EXPECT_TRUE(field.isFirstResponder());
}

TEST_F(UIKitStandIn, ADyingResponderLeavesNoDanglingFocus) {
  {
    PSTableCell field(PSEditTextCell);
    field.becomeFirstResponder();
  }
  EXPECT_EQ(UIResponder::firstResponder(), nullptr);
  EXPECT_FALSE(UIKeyboardIsVisible());
}

TEST_F(UIKitStandIn, CellsOfRowsCarryTextFieldsAndSwitches) {
  auto text = PSSpecifier::preferenceSpecifierNamed("Date", nullptr, "", "", "", PSEditTextCell, "PSTextEditingPane");
  text->setKeyboardType(UIKeyboardTypeNumberPad, 0, 1);
  text->setProperty(Value("MMDD"), "placeholder");
  auto cell = PSTableCell::cellForSpecifier(*text);
  EXPECT_EQ(PSTableCell::cellForSpecifier(*text), cell);  // one live cell per row
  EXPECT_EQ(text->propertyForKey("cellObject").objectAs<PSTableCell>(), cell);
  ASSERT_NE(cell->textField(), nullptr);
  EXPECT_EQ(cell->textField()->keyboardType(), UIKeyboardTypeNumberPad);
  EXPECT_EQ(cell->textField()->placeholder(), "MMDD");
  EXPECT_TRUE(cell->value().isNil());
  cell->textField()->setText("0101");
  EXPECT_EQ(cell->value(), Value("0101"));
  cell->textField()->setText(std::nullopt);
  EXPECT_TRUE(cell->value().isNil());

  auto toggle = PSSpecifier::preferenceSpecifierNamed("Cal", nullptr, "", "", "", PSSwitchCell, "");
  auto switchCell = PSTableCell::cellForSpecifier(*toggle);
  EXPECT_EQ(switchCell->textField(), nullptr);
  EXPECT_FALSE(switchCell->becomeFirstResponder());
  auto control = toggle->propertyForKey("control").objectAs<UISwitch>();
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(control.get(), switchCell->control());
  switchCell->setValue(Value(true));
  EXPECT_TRUE(control->isOn());
  EXPECT_EQ(switchCell->value(), Value(true));
}

TEST_F(UIKitStandIn, SwitchFlipSetsTheControlBeforeTheSetterRuns) {
  TestPane pane;
  auto toggle =
      PSSpecifier::preferenceSpecifierNamed("Cal", &pane, "setThing:specifier:", "", "", PSSwitchCell, "");
  ASSERT_TRUE(PSListController::switchChanged(*toggle, true));
  ASSERT_TRUE(PSListController::switchChanged(*toggle, false));
  EXPECT_EQ(pane.stored, (std::vector<Value>{Value(true), Value(false)}));
  EXPECT_EQ(pane.switchWhenSet, (std::vector<bool>{true, false}));
  auto noSetter = PSSpecifier::preferenceSpecifierNamed("X", &pane, "", "", "", PSSwitchCell, "");
  EXPECT_FALSE(PSListController::switchChanged(*noSetter, true));
  EXPECT_TRUE(noSetter->propertyForKey("control").objectAs<UISwitch>()->isOn());
}

TEST_F(UIKitStandIn, AlertsQueueUntilAnswered) {
  EXPECT_TRUE(UIAlertView::presentedAlerts().empty());
  EXPECT_FALSE(UIAlertView::dismissFrontAlert());
  UIAlertView("error", "duplicated color name", nullptr, "OK").show();
  UIAlertView first("second", std::nullopt, nullptr, "OK", {"Retry"});
  first.show();
  ASSERT_EQ(UIAlertView::presentedAlerts().size(), 2u);
  const auto& front = *UIAlertView::presentedAlerts().front();
  EXPECT_EQ(front.title(), "error");
  EXPECT_EQ(front.message(), "duplicated color name");
  EXPECT_EQ(front.cancelButtonTitle(), "OK");
  EXPECT_TRUE(UIAlertView::dismissFrontAlert());
  ASSERT_EQ(UIAlertView::presentedAlerts().size(), 1u);
  EXPECT_EQ(UIAlertView::presentedAlerts().front()->title(), "second");
  EXPECT_FALSE(UIAlertView::presentedAlerts().front()->message().has_value());
  EXPECT_EQ(UIAlertView::presentedAlerts().front()->otherButtonTitles(), (std::vector<std::string>{"Retry"}));
}

TEST_F(UIKitStandIn, BarButtonsSendTheirActionAndNavigationItemsHoldThem) {
  TestPane pane;
  auto done = std::make_shared<UIBarButtonItem>(UIBarButtonSystemItemDone, &pane, "press");
  EXPECT_EQ(done->systemItem(), 0);
  EXPECT_EQ(done->title(), "Done");
  done->tap();
  EXPECT_EQ(pane.presses, 1);
  UIBarButtonItem edit("Edit", UIBarButtonItemStylePlain, nullptr, "toggle");
  EXPECT_FALSE(edit.systemItem().has_value());
  EXPECT_EQ(edit.title(), "Edit");
  edit.tap();  // no target: nothing
  UIBarButtonItem wrong(UIBarButtonSystemItemDone, &pane, "_noSuchAction");
  EXPECT_THROW(wrong.tap(), platform::BindingError);

  UINavigationItem* item = pane.navigationItem();
  EXPECT_EQ(item->rightBarButtonItem(), nullptr);
  item->setRightBarButtonItem(done, false);
  EXPECT_EQ(item->rightBarButtonItem(), done);
  item->setRightBarButtonItem(nullptr, false);
  EXPECT_EQ(item->rightBarButtonItem(), nullptr);
}

TEST_F(UIKitStandIn, OpenedURLsAreRecorded) {
  UIApplication* app = UIApplication::sharedApplication();
  app->clearOpenedURLs();
  EXPECT_FALSE(app->openURL("cydia://package/com.example"));
  EXPECT_EQ(app->openedURLs(), (std::vector<std::string>{"cydia://package/com.example"}));
  app->clearOpenedURLs();
}

}  // namespace
}  // namespace framework_test
