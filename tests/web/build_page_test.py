# SPDX-License-Identifier: GPL-3.0-or-later
"""The page's build: its template filled in one pass, each value made safe for
its place, what it refuses to build, its scripts joined, the colours drawn
darker for more contrast, and the built page's description."""

import os
import unittest
from html.parser import HTMLParser

from build_page import darker, fill, join_scripts


class BuildTest(unittest.TestCase):
    def test_each_value_is_put_in_once_and_safely(self):
        for template, values, page in (
            # A placeholder inside an earlier value stays as written.
            ("@A@ @B@", {"A": ("script", "'@B@'"), "B": ("script", "b")}, "'@B@' b"),
            (
                "<title>@T@</title>",
                {"T": ("text", 'x<1 & "y"')},
                "<title>x&lt;1 &amp; &quot;y&quot;</title>",
            ),
            # No run of dashes ends the comment, nor do its first and last characters.
            (
                "<!--@L@-->",
                {"L": ("comment", ">a ---> b --!> <!-- -")},
                "<!-- >a - - -> b - -!> <!- - - -->",
            ),
            ("<!--@L@-->", {"L": ("comment", "->")}, "<!-- ->-->"),
        ):
            with self.subTest(template=template, values=values):
                self.assertEqual(fill(template, values), page)

    def test_what_would_break_the_page_is_refused(self):
        for build, *args in (
            # A style's or a script's end, in any case, or what can hide a script's.
            (fill, "@S@", {"S": ("script", "if (a <!--b) {}")}),
            (fill, "@S@", {"S": ("script", "s = '</SCRIPT>';")}),
            (fill, "@S@", {"S": ("style", "a { content: '</style>'; }")}),
            (fill, "@S@", {"S": ("style", "a { content: '</STYLE'; }")}),
            # A value with no place, a place with no value.
            (fill, "@A@", {"A": ("text", "a"), "B": ("text", "b")}),
            (fill, "@A@ @B@", {"A": ("text", "a")}),
            # What one scope cannot hold.
            (join_scripts, [("a.js", "export default 1;\n")]),
            (join_scripts, [("a.js", "import {b} from 'https://example.org/b.js';\n")]),
        ):
            with self.subTest(args=args), self.assertRaises(SystemExit):
                build(*args)

    def test_modules_are_joined_into_one_scope(self):
        for scripts, joined in (
            ([("a.js", "var a = 1;")], "var a = 1;\n"),
            (
                [
                    ("a.js", "export const a = 1;\nexport async function f() {}\n"),
                    ("b.js", "import {a} from './a.js';\nimport {\n    f,\n} from './a.js';\n"),
                    ("c.js", "// export what\nexport class C {}\nlet exported = a;\n"),
                ],
                "const a = 1;\nasync function f() {}\n// export what\nclass C {}\nlet exported = a;\n",
            ),
        ):
            with self.subTest(scripts=scripts):
                self.assertEqual(join_scripts(scripts), joined)

    def test_colours_short_of_7_to_1_are_darkened_in_their_hue(self):
        for colour, ground, dark in (
            ([255, 0, 0], [192, 255, 255], [170, 0, 0]),  # 3.6:1, the design's red
            ([255, 255, 255], [255, 255, 255], [89, 89, 89]),
            ([0, 0, 192], [192, 255, 255], None),  # 10.8:1
            ([0, 0, 0], [0, 0, 128], None),  # short even in black
        ):
            with self.subTest(colour=colour, ground=ground):
                self.assertEqual(darker(colour, ground), dark)

    def test_the_page_describes_itself_as_the_desktop_entry_does(self):
        with open(os.environ["DRILL_DESKTOP_ENTRY"], encoding="utf-8") as entry:
            comment = next(line[12:].strip() for line in entry if line.startswith("Comment[ru]="))
        metas = []
        parser = HTMLParser()
        parser.handle_starttag = (
            lambda tag, attrs: metas.append(dict(attrs)) if tag == "meta" else 0
        )
        with open(os.environ["DRILL_HTML"], encoding="utf-8") as page:
            parser.feed(page.read())
        self.assertIn({"name": "description", "content": comment}, metas)


if __name__ == "__main__":
    unittest.main()
