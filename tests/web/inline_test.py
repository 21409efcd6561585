# SPDX-License-Identifier: GPL-3.0-or-later
"""The page's template filled in one pass, each value made safe for its place."""

import unittest

from inline import fill


class FillTest(unittest.TestCase):
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


if __name__ == "__main__":
    unittest.main()
