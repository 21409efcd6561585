#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Puts the page into one self-contained file: the compiled module, the script,
the style, the pictures, the icon and the two embedded font faces, the latter
cut down to the characters the drill can show."""

import argparse
import base64
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


def data_uri(mime, data):
    return f"data:{mime};base64,{base64.b64encode(data).decode('ascii')}"


def window_markup(page_dir, facts):
    """The two windows' markup, built from the program's form table."""
    out = subprocess.run(
        ["node", str(page_dir / "markup.js"), str(Path(facts).resolve())],
        check=True,
        capture_output=True,
        text=True,
    ).stdout
    return json.loads(out)


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
    style = names.getDebugName(2) or "Regular"
    for record in list(names.names):
        if record.nameID in (1, 16):
            record.string = FAMILY
        elif record.nameID in (3, 4):
            record.string = f"{FAMILY} {style}"
        elif record.nameID == 6:
            record.string = f"{FAMILY.replace(' ', '')}-{style}"
    out = io.BytesIO()
    font.flavor = "woff2"
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


def comment_text(text):
    """Text an HTML comment holds whole: with no two dashes in a row there is no
    "-->", "--!>" or "<!--", and a space parts a leading ">" or dash and a
    trailing dash from the comment's own delimiters."""
    text = re.sub("-(?=-)", "- ", text)
    return (" " if text[:1] in (">", "-") else "") + text + (" " if text[-1:] == "-" else "")


# The page's modules by role, joined into its one script: each one's imports of
# the others dropped, and its exports made plain declarations.
IMPORT = re.compile(r"^import \{[^}]*\} from '\./[\w.]+';\n", re.MULTILINE)
EXPORT = re.compile(r"^export (?=(?:async )?(?:function|const|let|class) )", re.MULTILINE)


def joined_scripts(paths):
    """The scripts as one, in the order given; refused if a module syntax is left."""
    text = "".join(
        EXPORT.sub("", IMPORT.sub("", Path(p).read_text(encoding="utf-8"))) for p in paths
    )
    left = re.search(r"^(?:import|export)\b.*", text, re.MULTILINE)
    if left:
        sys.exit(f"a page script holds {left[0]!r}, which the build cannot join")
    return text


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
    ap.add_argument("--wasm", required=True)
    ap.add_argument("--facts", required=True)
    ap.add_argument("--page-dir", required=True)
    ap.add_argument("--scripts", nargs="+", required=True)
    ap.add_argument("--assets", required=True)
    ap.add_argument("--icon-sizes", type=int, nargs="+", required=True)
    ap.add_argument("--fonts", required=True)
    ap.add_argument("--font-copyright", required=True)
    ap.add_argument("--output", required=True)
    args = ap.parse_args()

    page_dir, assets, fonts = Path(args.page_dir), Path(args.assets), Path(args.fonts)
    module_js = Path(args.module).read_text(encoding="utf-8")
    page_js = joined_scripts(args.scripts)
    markup_js = (page_dir / "markup.js").read_text(encoding="utf-8")
    template = (page_dir / "page.html").read_text(encoding="utf-8")

    facts = json.loads(Path(args.facts).read_text(encoding="utf-8"))
    design, windows = facts["design"], window_markup(page_dir, args.facts)
    shown = program_texts(facts)
    # Whatever a student may plausibly type, which covers all of ASCII, and
    # every other character of the page's own texts wherever its files write
    # them, however a string is wrapped.
    shown.append("".join(chr(c) for c in range(0x20, 0x7F)))
    shown += [c for c in page_js + markup_js + template if ord(c) > 0x7E]
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

    css = fill(
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
            "TITLE": ("text", design["main"]["caption"]),
            "ICONS": ("verbatim", icons),
            "FONT_FACES": ("style", "\n".join(faces)),
            "CSS": ("style", css),
            "MAIN_WINDOW": ("verbatim", windows["main"]),
            "RULE_WINDOW": ("verbatim", windows["rule"]),
            "MODULE": ("script", module_js),
            "WASM": ("script", base64.b64encode(Path(args.wasm).read_bytes()).decode("ascii")),
            "PAGE_JS": ("script", page_js),
        },
    )
    Path(args.output).write_text(page, encoding="utf-8")


if __name__ == "__main__":
    main()
