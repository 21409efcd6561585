#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Builds the page in one pass from the program's facts, into one
self-contained file: the two windows' markup from the form table, so that the
first frame shows every control without waiting for the compiled module; the
page's scripts joined into one; the compiled module, the style, the pictures,
the icon and the two embedded font faces, the latter cut down to the
characters the drill can show."""

import argparse
import base64
import configparser
import html
import io
import json
import re
import subprocess
import sys
from pathlib import Path

from fontTools import subset
from fontTools.ttLib import TTFont

# Embedded under their own name: a cut-down face is a modified version, which
# the licence asks not to carry the original's reserved name.
FAMILY = "Drill Sans"

# Around the windows on a wide screen; the one-column layout starts where the
# main window and this no longer fit.
PAGE_PADDING = 24

# Texts of the browser edition alone (the drill's own texts come from the facts).
CLOSE = "Закрыть"
CLOSE_SIGN = "×"

# Asked for more contrast, a text colour short of this ratio to its ground
# (the enhanced level of the web's accessibility guidelines) is drawn darker.
MORE_CONTRAST = 7


def data_uri(mime, data):
    return f"data:{mime};base64,{base64.b64encode(data).decode('ascii')}"


# The windows' markup


def escape(text):
    """Text safe in markup and in a quoted attribute."""
    return html.escape(str(text), quote=False).replace('"', "&quot;")


def attributes(items):
    """Attributes in their order; False and None leave one out, True is bare."""
    return "".join(
        f" {name}" if value is True else f' {name}="{escape(value)}"'
        for name, value in items.items()
        if value is not False and value is not None
    )


def style(items):
    return "; ".join(f"{name}: {value}" for name, value in items.items())


def css(rgb):
    return "rgb({}, {}, {})".format(*rgb)


def luminance(rgb):
    """Relative luminance of [r, g, b]."""
    r, g, b = (
        c / 12.92 if c <= 0.04045 else ((c + 0.055) / 1.055) ** 2.4 for c in (v / 255 for v in rgb)
    )
    return 0.2126 * r + 0.7152 * g + 0.0722 * b


def contrast(a, b):
    light, dark = sorted((luminance(a), luminance(b)), reverse=True)
    return (light + 0.05) / (dark + 0.05)


def darker(colour, background):
    """The colour darkened in its own hue, in steps of 1 %, until it reaches the
    ratio asked for on its ground; None if it reaches it already, or never."""
    for step in range(100, -1, -1):
        dark = [v * step // 100 for v in colour]
        if contrast(dark, background) >= MORE_CONTRAST:
            return None if step == 100 else dark
    return None


def control(c, window_name, design, autofocus, title=False):
    dark = darker(c["color"], c["background"])
    role = next((r for r, name in design["roles"].items() if name == c["name"]), None)
    common = {
        "id": f"{window_name}-{c['name']}",
        "class": "control"
        + (" border" if c["border"] else "")
        + (" wrap" if c["wordWrap"] else "")
        + (" title" if title else "")
        + (" faint" if dark else ""),
        "data-name": c["name"],
        # What each control of the main window is (the answer box, the verdict line...).
        "data-role": role if window_name == design["main"]["name"] else None,
        "style": style(
            {
                "left": f"{c['left']}px",
                "top": f"{c['top']}px",
                "width": f"{c['width']}px",
                "height": f"{c['height']}px",
                "font-size": f"{c['fontPx']}px",
                "font-weight": "bold" if c["bold"] else "normal",
                "color": css(c["color"]),
                "background-color": css(c["background"]),
                "text-align": c["align"],
                **({"--more-contrast": css(dark)} if dark else {}),
                # The narrow layout caps the answer box's size from this one.
                **({"--font": f"{c['fontPx']}px"} if c["kind"] == "textbox" else {}),
            }
        ),
        # Positive tab indices follow the table's order; the table counts from 0.
        "tabindex": c["tabIndex"] + 1 if c["tabIndex"] >= 0 else None,
        "aria-label": c["accessibleName"] or None,
        "aria-description": c["accessibleDescription"] or None,
        "autofocus": autofocus,
    }
    if c["kind"] == "button":
        return f"<button{attributes({'type': 'button', **common})}>{escape(c['text'])}</button>"
    if c["kind"] == "textbox":
        box = {
            "type": "text",
            **common,
            "value": c["text"],
            "maxlength": design["answerMaxLength"],
            "autocomplete": "off",
            "spellcheck": "false",
            "autocapitalize": "off",
            "autocorrect": "off",
            # Typed into only once the page's script runs (it lifts this).
            "readonly": True,
        }
        return f"<input{attributes(box)}>"
    return f"<div{attributes(common)}>{escape(c['text'])}</div>"


def window_style(w, **extra):
    return style(
        {
            "width": f"{w['width']}px",
            "height": f"{w['height']}px",
            "background-color": css(w["background"]),
            **extra,
        }
    )


def main_window(design):
    w = design["main"]
    # The focus starts on the first control of the tab order; autofocus gives it
    # at the first frame, without forcing a layout.
    first = min(c["tabIndex"] for c in w["controls"] if c["tabIndex"] >= 0)
    # The counters' captions, each set beside its counter in one column.
    titles = set(design["captions"].values())
    # Controls in reading order: top to bottom, then left to right.
    controls = [
        control(c, w["name"], design, c["tabIndex"] == first, c["name"] in titles)
        for c in sorted(w["controls"], key=lambda c: (c["top"], c["left"]))
    ]
    frame = {
        "id": w["name"],
        "class": "window",
        "role": "region",
        "aria-label": w["caption"],
        "data-window": "main",
        "style": window_style(
            w, **{"background-size": f"{design['pictureWidth']}px {design['pictureHeight']}px"}
        ),
    }
    # The caption, which the picture carries, as the page's heading: shown only
    # in the one-column layout of narrow screens, where the picture is not.
    heading = f'<h1 class="heading">{escape(w["caption"])}</h1>'
    return "\n".join([f"<div{attributes(frame)}>", heading, *controls, "</div>"])


def rule_window(design):
    w = design["rule"]
    controls = {c["name"]: c for c in w["controls"]}
    client = [
        control(controls[name], w["name"], design, False) for name in design["ruleReadingOrder"]
    ]
    frame = {
        "id": w["name"],
        "class": "window floating",
        "role": "dialog",
        "data-window": "rule",
        "aria-labelledby": f"{w['name']}-caption",
        "aria-describedby": " ".join(f"{w['name']}-{name}" for name in design["ruleReadingOrder"]),
        # Where the design puts it on the screen, relative to the main window.
        "data-dx": w["left"] - design["main"]["left"],
        "data-dy": w["top"] - design["main"]["top"],
        "hidden": True,
    }
    close = {
        "type": "button",
        "class": "close",
        "id": f"{w['name']}-close",
        "aria-label": CLOSE,
        "title": CLOSE,
    }
    caption = (
        f'<div class="caption"><span id="{escape(w["name"])}-caption">{escape(w["caption"])}</span>'
        f"<button{attributes(close)}>{CLOSE_SIGN}</button></div>"
    )
    return "\n".join(
        [
            f"<div{attributes(frame)}>",
            caption,
            f'<div class="client" style="{escape(window_style(w))}">',
            *client,
            "</div>",
            "</div>",
        ]
    )


# The page's scripts, joined


# Written as modules, each naming what it takes from the others; joined, they
# share one scope, so those imports and the export keywords go.
IMPORT = re.compile(r"""^import\s[^;'"]*?['"]\./[^'"]+['"];?[ \t]*\n""", re.MULTILINE)
EXPORT = re.compile(r"^export\s+(?=(?:async\s+)?function\b|const\b|let\b|class\b)", re.MULTILINE)
# Anything else of a module left would make the joined script fail to parse.
MODULE_LEFT = re.compile(r"^(?:import|export)\b.*", re.MULTILINE)


def join_scripts(texts):
    """The page's scripts, in their order, as the one script of the page."""
    joined = []
    for name, text in texts:
        text = EXPORT.sub("", IMPORT.sub("", text))
        left = MODULE_LEFT.search(text)
        if left:
            sys.exit(f"{name}: cannot join {left[0]!r}")
        joined.append(text if text.endswith("\n") or not text else text + "\n")
    return "".join(joined)


# The file


def program_texts(facts):
    """Every text the program can show or say, as its facts list them: both
    windows, the question bank, the messages and the announcements."""
    design = facts["design"]
    shown = []
    for window in (design["main"], design["rule"]):
        shown += [window["caption"]] + [c["text"] for c in window["controls"]]
        shown += [c["accessibleName"] + c["accessibleDescription"] for c in window["controls"]]
    for q in facts["bank"]:
        shown += [q["problem"], *q["answers"]]
    shown += list(facts["texts"].values()) + list(facts["announcements"].values())
    return shown


def subset_font(path, text):
    options = subset.Options()
    options.flavor = "woff2"
    options.layout_features = ["kern", "liga"]
    options.name_IDs = [0, 1, 2, 3, 4, 5, 6]
    options.notdef_outline = True
    options.drop_tables += ["FFTM"]
    options.hinting = False
    font = TTFont(path)
    subsetter = subset.Subsetter(options)
    subsetter.populate(text=text)
    subsetter.subset(font)
    names = font["name"]
    face = names.getDebugName(2) or "Regular"
    for record in list(names.names):
        if record.nameID in (1, 16):
            record.string = FAMILY
        elif record.nameID in (3, 4):
            record.string = f"{FAMILY} {face}"
        elif record.nameID == 6:
            record.string = f"{FAMILY.replace(' ', '')}-{face}"
    out = io.BytesIO()
    font.flavor = "woff2"
    # The source face's own date, not the build's: the same page from the same files.
    font.recalcTimestamp = False
    font.save(out)
    return out.getvalue()


def webp(picture):
    """The picture as WebP, a third of its JPEG size at the same quality: every
    byte of the page is read before the drill can start."""
    return subprocess.run(
        ["convert", str(picture), "-quality", "90", "-define", "webp:method=6", "webp:-"],
        check=True,
        capture_output=True,
    ).stdout


def licence_text(copyright_file):
    return (
        "The embedded font faces are cut from the Liberation Sans fonts, "
        "under the SIL Open Font License 1.1:\n\n"
        + Path(copyright_file).read_text(encoding="utf-8")
    )


def description(desktop_entry):
    """The program's one-line description in its language, as its desktop entry
    gives it to the system's menus."""
    entry = configparser.ConfigParser(interpolation=None)
    entry.optionxform = str
    entry.read(desktop_entry, encoding="utf-8")
    return entry["Desktop Entry"]["Comment[ru]"]


def comment_text(text):
    """Text an HTML comment holds whole: with no two dashes in a row there is no
    "-->", "--!>" or "<!--", and a space parts a leading ">" or dash and a
    trailing dash from the comment's own delimiters."""
    text = re.sub("-(?=-)", "- ", text)
    return (" " if text[:1] in (">", "-") else "") + text + (" " if text[-1:] == "-" else "")


def raw_text(end):
    """A style's or a script's text, which no escape can reach: refused if it
    holds its element's end (or, in a script, "<!--", which can hide that end)."""

    def check(text):
        if re.search(end, text, re.IGNORECASE):
            sys.exit(f"a text to embed holds {end}")
        return text

    return check


# How each value is made safe for where it goes: verbatim is for what the build
# wrote itself in the language of its place (markup, data URIs, lengths).
ESCAPES = {
    "text": html.escape,
    "comment": comment_text,
    "verbatim": str,
    "style": raw_text("</style"),
    "script": raw_text("</script|<!--"),
}


PLACEHOLDER = re.compile("@([A-Z][A-Z0-9_]*)@")


def fill(template, values):
    """The template with every @NAME@ replaced by its value, made safe for where
    it goes, in one pass: a placeholder inside a value is left as written.
    values: {name: (where, value)}, every one used, with "where" a key of ESCAPES."""
    missing = set(values) - set(PLACEHOLDER.findall(template))
    if missing:
        sys.exit(f"the template lacks {', '.join(sorted(missing))}")

    def value(match):
        if match[1] not in values:
            sys.exit(f"nothing to put at @{match[1]}@")
        where, text = values[match[1]]
        return ESCAPES[where](text)

    return PLACEHOLDER.sub(value, template)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--module", required=True)
    ap.add_argument("--wasm", required=True, help="the module's compiled core")
    ap.add_argument("--facts", required=True)
    ap.add_argument("--page-dir", required=True)
    ap.add_argument("--scripts", nargs="+", required=True, help="in the order they run")
    ap.add_argument("--assets", required=True)
    ap.add_argument("--icon-sizes", type=int, nargs="+", required=True)
    ap.add_argument("--fonts", required=True)
    ap.add_argument("--font-copyright", required=True)
    ap.add_argument("--desktop-entry", required=True)
    ap.add_argument("--output", required=True)
    args = ap.parse_args()

    page_dir, assets, fonts = Path(args.page_dir), Path(args.assets), Path(args.fonts)
    module_js = Path(args.module).read_text(encoding="utf-8")
    page_js = join_scripts(
        (name, (page_dir / name).read_text(encoding="utf-8")) for name in args.scripts
    )
    template = (page_dir / "page.html").read_text(encoding="utf-8")

    facts = json.loads(Path(args.facts).read_text(encoding="utf-8"))
    design = facts["design"]
    shown = program_texts(facts) + [CLOSE, CLOSE_SIGN]
    # Whatever a student may plausibly type, which covers all of ASCII, and
    # every other character of the page's own texts wherever its files write
    # them, however a string is wrapped.
    shown.append("".join(chr(c) for c in range(0x20, 0x7F)))
    shown += [c for c in page_js + template if ord(c) > 0x7E]
    shown.append("".join(chr(c) for c in range(0x410, 0x450)) + "Ёё")
    text = "".join(sorted(set("".join(shown))))

    # The one place that names the family; the style and the script use --face.
    faces = [':root { --face: "%s"; }' % FAMILY]
    for file, weight in (
        ("LiberationSans-Regular.ttf", "normal"),
        ("LiberationSans-Bold.ttf", "bold"),
    ):
        woff2 = subset_font(fonts / file, text)
        faces.append(
            '@font-face { font-family: "%s"; font-weight: %s; font-display: block; '
            'src: url(%s) format("woff2"); }' % (FAMILY, weight, data_uri("font/woff2", woff2))
        )

    sheet = fill(
        (page_dir / "page.css").read_text(encoding="utf-8"),
        {
            "BACKGROUND_1X": ("verbatim", data_uri("image/webp", webp(assets / "background.jpg"))),
            "BACKGROUND_2X": (
                "verbatim",
                data_uri("image/webp", webp(assets / "background@2x.jpg")),
            ),
            "PAGE_PADDING": ("verbatim", f"{PAGE_PADDING}px"),
            # The widest viewport of the one-column layout: narrower than the
            # main window with the page's padding either side and 6 to spare.
            "ONE_COLUMN_WIDTH": (
                "verbatim",
                f"{design['main']['width'] + 2 * PAGE_PADDING + 6 - 1}px",
            ),
        },
    )
    icons = "\n".join(
        f'<link rel="icon" type="image/png" sizes="{s}x{s}" '
        f'href="{data_uri("image/png", (assets / f"icon-{s}.png").read_bytes())}">'
        for s in args.icon_sizes
    )

    page = fill(
        template,
        {
            "FONT_LICENCE": ("comment", licence_text(args.font_copyright)),
            "DESCRIPTION": ("text", description(args.desktop_entry)),
            "TITLE": ("text", design["main"]["caption"]),
            "ICONS": ("verbatim", icons),
            "FONT_FACES": ("style", "\n".join(faces)),
            "CSS": ("style", sheet),
            "MAIN_WINDOW": ("verbatim", main_window(design)),
            "RULE_WINDOW": ("verbatim", rule_window(design)),
            "MODULE": ("script", module_js),
            "WASM": ("script", base64.b64encode(Path(args.wasm).read_bytes()).decode("ascii")),
            "PAGE_JS": ("script", page_js),
        },
    )
    Path(args.output).write_text(page, encoding="utf-8")


if __name__ == "__main__":
    main()
