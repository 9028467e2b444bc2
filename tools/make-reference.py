#!/usr/bin/env python3
"""The integrators' reference of the Lumivox control, and its DISPID header.

  python3 tools/make-reference.py --html reference.html --header OrvexDispids.h [--version V]

Reads, from the source tree:
  control/LumivoxInterface.def   every member: name, DISPID, kind, type
  win/ControlTypes.h             the enumerators
  package/reference/notes.zh.txt the prose, Chinese
  package/reference/notes.en.txt the prose, English
  package/reference/facts.txt    the checkable facts (tests/win reads them too)

Writes one UTF-8 HTML page (no scripts, no outside files) with an index of
chapters and members, each chapter and member in both languages side by side,
and a C header with one DISPID constant per member. Fails, naming what is
missing, when a member lacks notes or one of their fields in either language,
when the languages' chapters differ, or when a fact names no member.
"""
import argparse
import html
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
LANGS = ("zh", "en")
# The fields every member's notes give, in the order the page shows them.
FIELDS = ("does", "unit", "range", "new", "fails", "sends")
LABELS = {
    "zh": {"does": "作用", "unit": "单位", "range": "范围及越界", "new": "新对象上的值",
           "fails": "失败", "sends": "发给系统的内容", "facts": "可检验的事实（测试逐条核对）",
           "kind": "种类", "type": "类型", "help": "类型库帮助字符串（原样保留）"},
    "en": {"does": "What it does", "unit": "Unit", "range": "Range, and outside it",
           "new": "On a new object", "fails": "When it fails", "sends": "What it sends to the system",
           "facts": "Checkable facts (the test checks each)", "kind": "Kind", "type": "Type",
           "help": "Type library help string (kept as it is)"},
}
KINDS = {
    "GET": ("只读属性", "read-only property"),
    "PUT": ("只写属性", "write-only property"),
    "GET_PUT": ("可读写属性", "property, read and write"),
    "GET_PUT_PUTREF": ("可读写属性（也可 Set）", "property, read and write (also Set)"),
    "METHOD": ("方法", "method"),
    "METHOD_RESULT": ("方法，有返回值", "method with a result"),
}
TYPES = {"LONG": "Long", "BSTR": "String", "VARIANT_BOOL": "Boolean", "OLE_COLOR": "OLE_COLOR",
         "IFontDisp*": "IFontDisp", "void": "—"}
STATES = {
    "new": ("新建的对象", "a new object"),
    "ready": ("Initialize 之后", "after Initialize"),
    "clip": ("Initialize 并打开 60 秒、每秒 25 帧的 MPEG-1 片子之后（MPEGVideo 驱动）",
             "after Initialize and opening a 60-second MPEG-1 clip at 25 frames per second (MPEGVideo driver)"),
    "closed": ("CloseControl 之后", "after CloseControl"),
    "reopened": ("CloseControl 之后再次 Initialize", "after CloseControl and Initialize again"),
    "digitalvideo": ("由 digitalvideo 驱动打开同一片子之后（Wine 和普通 Windows 没有这种驱动，不检验）",
                     "after a digitalvideo driver opened the same clip (Wine and a plain Windows have none: not checked)"),
}
OPENED = {
    "missing": ("不存在的文件", "a file that does not exist"),
    "clip": ("MPEG-1 片子", "the MPEG-1 clip"),
    "unicode-clip": ("名字含代码页写不出的字符的样片", "the clip under a name the code page cannot write"),
    "COM1": ("设备名 COM1", "the device name COM1"),
    "device-in-folder": ("C:\\clips\\COM1.mpg 这样的设备名", "a device name such as C:\\clips\\COM1.mpg"),
    "folder": ("一个文件夹", "a folder"),
    "text": ("扩展名为 .mpg 的文本文件", "a text file named .mpg"),
}


def fail(message):
    sys.exit("make-reference: " + message)


def read(path):
    with open(os.path.join(ROOT, path), encoding="utf-8") as f:
        return f.read()


def interface():
    """The members of ILumivox in table order: (name, dispid, kind, type, help)."""
    members = []
    row = re.compile(r'^ORVEX_MEMBER\((\w+), (-?\d+), (\w+), ([\w*]+), "(.*)"\)$')
    for line in read("control/LumivoxInterface.def").splitlines():
        m = row.match(line)
        if m:
            members.append((m[1], int(m[2]), m[3], m[4], m[5]))
    if not members:
        fail("no ORVEX_MEMBER rows in control/LumivoxInterface.def")
    return members


def enumerations():
    """{type: [(enumerator, value)]} from win/ControlTypes.h's list macros."""
    enums = {}
    for m in re.finditer(r"#define ORVEX_(T\w+)\(X\) (.*)", read("win/ControlTypes.h")):
        items = re.findall(r"X\((\w+), (\d+)\)", m[2])
        name = next(n for n in ("TChannel", "TLocation", "TActionStyle", "TStatus") if n.upper() == m[1])
        enums[name] = [(e, int(v)) for e, v in items]
    return enums


def notes(lang):
    """{"chapters": [(id, title, body)], "members": {name: {field: text}}} of one language."""
    chapters, members, current = [], {}, None
    for number, line in enumerate(read(f"package/reference/notes.{lang}.txt").splitlines(), 1):
        if line.startswith("#"):
            continue
        m = re.match(r"^@chapter (\S+) (.+)$", line)
        if m:
            current = [m[1], m[2], []]
            chapters.append(current)
            continue
        m = re.match(r"^@member (\w+)$", line)
        if m:
            if m[1] in members:
                fail(f"notes.{lang}.txt:{number}: {m[1]} has notes twice")
            members[m[1]] = current = {}
            continue
        if current is None:
            if line.strip():
                fail(f"notes.{lang}.txt:{number}: text before the first @chapter or @member")
            continue
        if isinstance(current, dict):
            m = re.match(r"^(\w+): ?(.*)$", line)
            if m and m[1] in FIELDS:
                field = m[1]
                current[field] = [m[2]]
                current["_last"] = field
            elif "_last" in current:
                current[current["_last"]].append(line)
            elif line.strip():
                fail(f"notes.{lang}.txt:{number}: member text outside a field")
        else:
            current[2].append(line)
    for fields in members.values():
        fields.pop("_last", None)
        for field in fields:
            fields[field] = "\n".join(fields[field]).strip()
    return {"chapters": [(c[0], c[1], "\n".join(c[2]).strip()) for c in chapters], "members": members}


TOKEN = re.compile(r'"((?:[^"\\]|\\.)*)"|(\S+)')


def tokens(text):
    return [("str", m[1].replace('\\"', '"')) if m[1] is not None else ("word", m[2])
            for m in TOKEN.finditer(text)]


def facts():
    """The fact rows: (member, state, action, argument, expect, line)."""
    rows = []
    for number, line in enumerate(read("package/reference/facts.txt").splitlines(), 1):
        text = line.split("  #", 1)[0].strip()
        if not text or text.startswith("#"):
            continue
        if " => " not in text:
            fail(f"facts.txt:{number}: no ' => ' in the fact")
        left, expect = text.split(" => ", 1)
        words = tokens(left)
        if len(words) < 3:
            fail(f"facts.txt:{number}: a fact is: member state action [argument] => expectation")
        argument = words[3] if len(words) > 3 else None
        expect = re.sub(r"\s+pending$", "", expect.strip())
        rows.append((words[0][1], words[1][1], words[2][1], argument, expect, number))
    return rows


def describe_value(value, lang):
    kind, text = value
    return f"“{text}”" if kind == "str" else text


def describe_fact(fact, lang):
    """One fact in words: (condition, outcome)."""
    member, state, action, argument, expect, _ = fact
    zh = lang == "zh"
    where = STATES[state][0 if zh else 1]
    if action == "get":
        what = f"读 {member}" if zh else f"read {member}"
    elif action == "put":
        arg = describe_value(argument, lang)
        what = f"写入 {member} = {arg}，再读" if zh else f"write {member} = {arg}, read it back"
    elif action == "call":
        what = f"调用 {member}" if zh else f"call {member}"
    elif action == "open":
        name = OPENED[argument[1]][0 if zh else 1]
        gap = " " if zh and name[0].isascii() else ""
        what = f"FileName 设为{gap}{name}，调用 Open" if zh else f"FileName set to {name}, call Open"
    else:
        fail(f"facts.txt:{fact[5]}: unknown action {action}")
    outcome = expect
    words = [w[1] for w in tokens(expect)]
    if words and words[0] == "fail":
        outcome = (f"失败：HRESULT {words[1]}，描述 “{words[2]}”" if zh
                   else f"fails: HRESULT {words[1]}, description “{words[2]}”")
    else:
        outcome = expect.replace("..", " … ")
        outcome = re.sub(r"\bsame\b", "与写入的相同" if zh else "the same as written", outcome)
        outcome = re.sub(r"\bok\b", "成功（S_OK）" if zh else "succeeds (S_OK)", outcome)
        outcome = re.sub(r"\s*\bthen (\w+)", (r"，之后 \1 为" if zh else r", then \1 reads"), outcome)
        outcome = outcome.replace('"', "“", 1).replace('"', "”", 1)
    return (where + ("，" if zh else ", ") + what), outcome.lstrip("，, ")


# --- text to HTML --------------------------------------------------------------------

def inline(text):
    out = html.escape(text, quote=False)
    return re.sub(r"`([^`]+)`", r"<code>\1</code>", out)


def blocks(text):
    """Paragraphs, "- " lists and indented code, separated by blank lines."""
    out = []
    for block in re.split(r"\n\s*\n", text.strip()):
        lines = block.split("\n")
        if all(l.startswith("    ") for l in lines):
            out.append("<pre>" + html.escape("\n".join(l[4:] for l in lines)) + "</pre>")
        elif lines[0].startswith("- "):
            items, current = [], []
            for l in lines:
                if l.startswith("- "):
                    if current:
                        items.append(" ".join(current))
                    current = [l[2:].strip()]
                else:
                    current.append(l.strip())
            items.append(" ".join(current))
            out.append("<ul>" + "".join(f"<li>{inline(i)}</li>" for i in items) + "</ul>")
        else:
            out.append(f"<p>{inline(' '.join(l.strip() for l in lines))}</p>")
    return "\n".join(out)


STYLE = """
body{font-family:"Microsoft YaHei","SimSun","WenQuanYi Zen Hei",sans-serif;margin:0 auto;max-width:78em;padding:1em 2em;line-height:1.5;color:#222}
h1{font-size:1.6em;margin-bottom:.2em} h2{border-bottom:2px solid #456;margin-top:2em} h3{margin:1.6em 0 .3em;font-family:monospace;font-size:1.25em}
.pair{display:grid;grid-template-columns:1fr 1fr;gap:2em} .pair>div{min-width:0}
table{border-collapse:collapse;margin:.5em 0} td,th{border:1px solid #bbb;padding:.2em .6em;vertical-align:top;text-align:left}
th{background:#eef} code,pre{font-family:Consolas,"DejaVu Sans Mono",monospace;font-size:.92em} pre{background:#f4f4f4;padding:.5em;white-space:pre-wrap}
dt{font-weight:bold;margin-top:.4em} dd{margin-left:1em} .index{columns:3} .index li{break-inside:avoid}
.facts td:first-child{width:55%} .meta td:first-child{white-space:nowrap}
"""


def page(members, enums, texts, fact_rows, version):
    out = []
    w = out.append
    w("<!DOCTYPE html>\n<html lang=\"zh-CN\"><head><meta charset=\"utf-8\">")
    w(f"<title>Orvex {version} 参考手册 / Reference</title><style>{STYLE}</style></head><body>")
    w(f"<h1>Orvex {version}：Lumivox 控件参考手册 / Lumivox control reference</h1>")
    w("<p>每一节左为中文，右为英文，两者内容相同。 / Each section gives Chinese on the left and "
      "English on the right, with the same content.</p>")
    # Index.
    w("<h2 id=\"index\">目录 / Contents</h2><div class=\"pair\">")
    for lang in LANGS:
        w(f"<div lang=\"{'zh-CN' if lang == 'zh' else 'en'}\"><ol>")
        for cid, title, _ in texts[lang]["chapters"]:
            w(f"<li><a href=\"#{cid}\">{inline(title)}</a></li>")
        w("<li><a href=\"#enums\">" + ("枚举" if lang == "zh" else "Enumerations") + "</a></li>")
        w("<li><a href=\"#members\">" + ("成员" if lang == "zh" else "Members") + "</a></li></ol></div>")
    w("</div>")
    w("<table><tr><th>成员 / Member</th><th>种类 / Kind</th><th>类型 / Type</th><th>DISPID</th></tr>")
    for name, dispid, kind, ctype, _ in members:
        w(f"<tr><td><a href=\"#{name}\"><code>{name}</code></a></td><td>{KINDS[kind][0]} / {KINDS[kind][1]}</td>"
          f"<td><code>{html.escape(TYPES.get(ctype, ctype))}</code></td><td>{dispid}</td></tr>")
    w("</table>")
    # Chapters, paired by id.
    en_chapters = {c[0]: c for c in texts["en"]["chapters"]}
    for cid, title_zh, body_zh in texts["zh"]["chapters"]:
        _, title_en, body_en = en_chapters[cid]
        w(f"<h2 id=\"{cid}\">{inline(title_zh)} / {inline(title_en)}</h2><div class=\"pair\">")
        w(f"<div lang=\"zh-CN\">{blocks(body_zh)}</div><div lang=\"en\">{blocks(body_en)}</div></div>")
    # Enumerations.
    w("<h2 id=\"enums\">枚举 / Enumerations</h2><table><tr><th>类型 / Type</th><th>值 / Values</th></tr>")
    for name, items in enums.items():
        values = ", ".join(f"<code>{e}</code> = {v}" for e, v in items)
        w(f"<tr><td><code>{name}</code></td><td>{values}</td></tr>")
    w("</table>")
    # Members.
    w("<h2 id=\"members\">成员 / Members</h2>")
    for name, dispid, kind, ctype, help_text in members:
        w(f"<h3 id=\"{name}\">{name}</h3>")
        w("<table class=\"meta\">")
        w(f"<tr><td>{LABELS['zh']['kind']} / {LABELS['en']['kind']}</td><td>{KINDS[kind][0]} / {KINDS[kind][1]}</td></tr>")
        w(f"<tr><td>{LABELS['zh']['type']} / {LABELS['en']['type']}</td><td><code>{html.escape(TYPES.get(ctype, ctype))}</code></td></tr>")
        w(f"<tr><td>DISPID</td><td>{dispid} (<code>DISPID_LUMIVOX_{name.upper()}</code>)</td></tr>")
        w(f"<tr><td>{LABELS['zh']['help']} / {LABELS['en']['help']}</td><td>{html.escape(help_text)}</td></tr></table>")
        w("<div class=\"pair\">")
        for lang in LANGS:
            fields = texts[lang]["members"][name]
            w(f"<div lang=\"{'zh-CN' if lang == 'zh' else 'en'}\"><dl>")
            for field in FIELDS:
                w(f"<dt>{LABELS[lang][field]}</dt><dd>{blocks(fields[field])}</dd>")
            w("</dl>")
            own = [f for f in fact_rows if f[0] == name]
            if own:
                w(f"<p><b>{LABELS[lang]['facts']}</b></p><table class=\"facts\">")
                for fact in own:
                    condition, outcome = describe_fact(fact, lang)
                    w(f"<tr><td>{inline(condition)}</td><td>{inline(outcome)}</td></tr>")
                w("</table>")
            w("</div>")
        w("</div><p><a href=\"#index\">↑ 目录 / Contents</a></p>")
    w("</body></html>\n")
    return "\n".join(out)


def header(members):
    lines = [
        "/* The dispatch identifiers (DISPIDs) of ILumivox, for hosts that call the",
        "   control through IDispatch::Invoke or watch IPropertyNotifySink::OnChanged.",
        "   Written from the control's interface definition; include it beside Orvex.h. */",
        "#ifndef ORVEX_DISPIDS_H",
        "#define ORVEX_DISPIDS_H",
        "",
    ]
    width = max(len(name) for name, *_ in members)
    for name, dispid, *_ in members:
        lines.append(f"#define DISPID_LUMIVOX_{name.upper():<{width}} ({dispid})")
    lines += ["", "#endif /* ORVEX_DISPIDS_H */", ""]
    return "\r\n".join(lines)


def check(members, texts, fact_rows):
    names = [m[0] for m in members]
    problems = []
    for lang in LANGS:
        given = texts[lang]["members"]
        for name in names:
            if name not in given:
                problems.append(f"{name} has no notes in notes.{lang}.txt")
                continue
            for field in FIELDS:
                if not given[name].get(field):
                    problems.append(f"{name} has no '{field}' in notes.{lang}.txt")
        for name in given:
            if name not in names:
                problems.append(f"notes.{lang}.txt has notes for {name}, which is no member")
    if [c[0] for c in texts["zh"]["chapters"]] != [c[0] for c in texts["en"]["chapters"]]:
        problems.append("the chapters of notes.zh.txt and notes.en.txt differ")
    for fact in fact_rows:
        if fact[0] not in names:
            problems.append(f"facts.txt:{fact[5]}: {fact[0]} is no member")
        if fact[1] not in STATES:
            problems.append(f"facts.txt:{fact[5]}: unknown state {fact[1]}")
        if fact[2] == "open" and (not fact[3] or fact[3][1] not in OPENED):
            problems.append(f"facts.txt:{fact[5]}: unknown file to open")
    if problems:
        fail("\n  ".join(["the reference is incomplete:"] + problems))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--html", required=True)
    parser.add_argument("--header", required=True)
    parser.add_argument("--version", default="")
    args = parser.parse_args()
    members = interface()
    texts = {lang: notes(lang) for lang in LANGS}
    fact_rows = facts()
    check(members, texts, fact_rows)
    with open(args.html, "w", encoding="utf-8", newline="\r\n") as f:
        f.write(page(members, enumerations(), texts, fact_rows, args.version))
    with open(args.header, "w", encoding="ascii", newline="") as f:
        f.write(header(members))


if __name__ == "__main__":
    main()
