#include "HostWords.h"

#include <map>

#include "Foundation/NSBundle.h"

namespace settings_host {
namespace {

// Every host text that has a translation, by its English.
const std::map<std::string_view, std::string_view>& simplifiedChinese() {
  static const std::map<std::string_view, std::string_view> words = {
      // The drawing.
      {"Settings", "设置"},
      {"Edit", "编辑"},
      {"Done", "完成"},
      {"on", "开"},
      {"off", "关"},
      {"keyboard up", "键盘已弹出"},
      {"answer with ok", "用 ok 回答"},
      {"disabled", "不可用"},
      {"no settings entries under this device root", "此设备根目录下没有设置项"},
      // The change lines.
      {"wrote", "已写入"},
      {"removed", "已删除"},
      {"opened", "已打开"},
      {"no change", "无变化"},
      {"entry", "项"},
      {"entries", "项"},
      {"error:", "错误:"},
      // Help.
      {"Commands:", "命令："},
      {"Row numbers count every row, group headers included. help COMMAND explains one command.",
       "行号计入每一行，包括分组标题。help 命令名 说明单个命令。"},
      {"usage:", "用法:"},
      {"also:", "又作"},
      {"open the settings entry with that label", "打开带有该标签的设置项"},
      {"tap row N: follow a link, press a button, flip a switch", "点按第 N 行：进入链接、按下按钮或切换开关"},
      {"set switch row N", "设置第 N 行的开关"},
      {"pick a value (by value or title) of a segmented or list row", "为分段行或列表行选择一个值（按值或标题）"},
      {"put the cursor in text row N (the keyboard appears)", "把光标放进第 N 行的文本框（键盘弹出）"},
      {"type into the focused field (\\t, \\n, \\\\, \\u{HEX} are escapes)",
       "在当前文本框中输入（\\t、\\n、\\\\、\\u{HEX} 为转义）"},
      {"replace the focused field's text (fill alone clears it)", "替换当前文本框的全部文字（只写 fill 则清空）"},
      {"leave the field; the keyboard goes away", "离开文本框；键盘收起"},
      {"tap the navigation bar's right button (Edit, Done, ...)", "点按导航栏右侧的按钮（编辑、完成等）"},
      {"in editing mode, delete row N", "在编辑模式下删除第 N 行"},
      {"answer the alert", "回答提示框"},
      {"go back one pane", "返回上一页"},
      {"draw the current pane", "显示当前页"},
      {"print the current pane as one line of JSON", "以一行 JSON 输出当前页"},
      {"list the commands, or explain one", "列出所有命令，或说明其中一个"},
      {"end the session; nothing half-typed is stored", "结束会话；未完成的输入不会保存"},
      {"LABEL is matched exactly, else in any letter case when only one entry matches. Tab completes labels.",
       "LABEL 须完全一致；若只有一项在忽略大小写后相符，也可接受。Tab 键可补全标签。"},
      {"In the settings list, tap N opens entry N. Tapping a text row focuses it.",
       "在设置列表中，tap N 打开第 N 项。点按文本行会让它获得焦点。"},
      {"VALUE is a value or its title, exactly, else in any letter case when only one matches. Tab completes "
       "them.",
       "VALUE 为值或其标题，须完全一致；若只有一个在忽略大小写后相符，也可接受。Tab 键可补全。"},
      {"TEXT is the rest of the line after one space, spaces included, added to what the field holds.",
       "TEXT 为命令后一个空格之后的整行内容（包括空格），追加到文本框已有的文字之后。"},
      {"TEXT is read as type reads it.", "TEXT 的读法与 type 相同。"},
      {"An add form stores its entry when its field is left.", "添加表单在离开文本框时保存条目。"},
      {"Until the alert is answered only ok, show, dump, help and quit are taken.",
       "提示框未回答前，只接受 ok、show、dump、help 和 quit。"},
      {"Ctrl-D on an empty line ends the session too.", "在空行按 Ctrl-D 也会结束会话。"},
  };
  return words;
}

bool gChinese = false;

}  // namespace

void chooseHostLanguage() {
  gChinese = false;
  for (const std::string& name : NSBundle::mainBundle()->localizationSearchOrder()) {
    if (name == "zh-Hans") gChinese = true;
    if (name == "zh-Hans" || name == "en") return;
  }
}

std::string hostLanguage() { return gChinese ? "zh-Hans" : "en"; }

std::string word(std::string_view english) {
  if (gChinese) {
    const auto& words = simplifiedChinese();
    if (auto found = words.find(english); found != words.end()) return std::string(found->second);
  }
  return std::string(english);
}

}  // namespace settings_host
