// The page's own words. Everything else on the page comes from the host, which
// already speaks the bundle's language.
const WORDS = {
  en: {
    settings: "Settings",
    preview: "Preview",
    keyboard: "Keyboard",
    done: "Done",
    delete: "Delete",
    deleteRow: (name) => `Delete ${name}`,
    close: "Close",
    opened: "Opened",
    refused: "Not done",
    previous: "Previous",
    next: "Next",
    today: "Today",
    notShown: "not shown:",
    noPreview: "The preview is not available.",
    noToken: "This address has no token. Open the address the host printed when it started.",
    badToken: "The host refused the token. Open the address the host printed when it started.",
    offline: "The host does not answer.",
  },
  "zh-Hans": {
    settings: "设置",
    preview: "预览",
    keyboard: "键盘",
    done: "完成",
    delete: "删除",
    deleteRow: (name) => `删除 ${name}`,
    close: "关闭",
    opened: "已打开",
    refused: "未执行",
    previous: "上一页",
    next: "下一页",
    today: "今天",
    notShown: "未显示：",
    noPreview: "预览不可用。",
    noToken: "此地址没有令牌。请打开设置主机启动时打印的地址。",
    badToken: "设置主机拒绝了令牌。请打开设置主机启动时打印的地址。",
    offline: "设置主机没有响应。",
  },
};

let current = WORDS.en;
let currentLang = "en";

// Switches the page's words; unknown languages fall back to English.
export function setLanguage(lang) {
  currentLang = lang in WORDS ? lang : "en";
  current = WORDS[currentLang];
  document.documentElement.lang = currentLang;
}

export function language() {
  return currentLang;
}

export function t(key, ...args) {
  const word = current[key];
  return typeof word === "function" ? word(...args) : word;
}
