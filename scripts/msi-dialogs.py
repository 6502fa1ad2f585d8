#!/usr/bin/env python3

# SPDX-FileCopyrightText: 2026 The Trelvanix developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""Writes the Windows installer's dialogues as Windows Installer tables, for
scripts/build-msi.sh to add to the package that wixl built (wixl knows no
UI, Dialog, Control or Publish element):

    msi-dialogs.py LICENCE.txt FOLDER   the tables as FOLDER/*.idt, and
                                        FOLDER/rows.sql for the tables wixl made
    msi-dialogs.py rtf < TEXT           TEXT as the RTF of a ScrollableText

A double-click shows the licence, the progress and the end; on an installed
package, the question whether to remove it, the progress and the end. An
uninstall with REMOVE=ALL given (msiexec /x, or the list of installed apps,
which asks first) shows only the progress and the end."""

import pathlib
import sys

WIDTH, HEIGHT = 370, 270  # a wizard page, in installer units
TITLE = "[ProductName] Setup"
REMOVING = 'REMOVE="ALL"'

# Dialog attributes: shown, modal, with a minimise button; an error box.
VISIBLE, MODAL, MINIMIZE, ERROR = 1, 2, 4, 65536
PAGE = VISIBLE | MODAL | MINIMIZE
# Control attributes: shown, enabled, sunken; a progress bar in blocks.
SHOWN, ENABLED, SUNKEN, BLOCKS = 1, 2, 4, 65536

TABLES = {
    "Dialog": (
        ["Dialog", "HCentering", "VCentering", "Width", "Height", "Attributes", "Title",
         "Control_First", "Control_Default", "Control_Cancel"],
        ["s72", "i2", "i2", "i2", "i2", "I4", "L128", "s50", "S50", "S50"],
        ["Dialog"]),
    "Control": (
        ["Dialog_", "Control", "Type", "X", "Y", "Width", "Height", "Attributes", "Property",
         "Text", "Control_Next", "Help"],
        ["s72", "s50", "s20", "i2", "i2", "i2", "i2", "I4", "S72", "L0", "S50", "L50"],
        ["Dialog_", "Control"]),
    "ControlEvent": (
        ["Dialog_", "Control_", "Event", "Argument", "Condition", "Ordering"],
        ["s72", "s50", "s50", "s255", "S255", "I2"],
        ["Dialog_", "Control_", "Event", "Argument", "Condition"]),
    "ControlCondition": (
        ["Dialog_", "Control_", "Action", "Condition"],
        ["s72", "s50", "s50", "s255"],
        ["Dialog_", "Control_", "Action", "Condition"]),
    "EventMapping": (
        ["Dialog_", "Control_", "Event", "Attribute"],
        ["s72", "s50", "s50", "s50"],
        ["Dialog_", "Control_", "Event"]),
    "TextStyle": (
        ["TextStyle", "FaceName", "Size", "Color", "StyleBits"],
        ["s72", "s32", "i2", "I4", "I2"],
        ["TextStyle"]),
    # Filled by the installer with the programs that hold files open.
    "ListBox": (
        ["Property", "Order", "Value", "Text"],
        ["s72", "i2", "s64", "L64"],
        ["Property", "Order"]),
}


def rtf(text):
    """Plain text as RTF: paragraphs (blocks between blank lines) flow to the
    control's width; a block indented as a heading is centred line by line."""
    out = [r"{\rtf1\ansi\ansicpg1252\deff0\uc1{\fonttbl{\f0\fswiss Tahoma;}}\f0\fs16 "]
    for block in text.replace("\r\n", "\n").split("\n\n"):
        lines = [line for line in block.split("\n") if line.strip()]
        if not lines:
            continue
        if all(len(line) - len(line.lstrip()) >= 8 for line in lines):
            out.append(r"\pard\qc " + r"\line ".join(escaped(l.strip()) for l in lines))
        else:
            out.append(r"\pard " + escaped(" ".join(l.strip() for l in lines)))
        out.append(r"\par\par ")
    out.append("}")
    return "".join(out)


def escaped(text):
    out = []
    for char in text:
        code = ord(char)
        if char in "\\{}":
            out.append("\\" + char)
        elif char == "\t":
            out.append(r"\tab ")
        elif 32 <= code < 127:
            out.append(char)
        else:
            # \u takes a signed 16-bit number; beyond that, the UTF-16 pair.
            units = char.encode("utf-16-le")
            for at in range(0, len(units), 2):
                unit = int.from_bytes(units[at:at + 2], "little")
                out.append(rf"\u{unit - 65536 if unit > 32767 else unit}?")
    return "".join(out)


class Tables:
    def __init__(self):
        self.rows = {name: [] for name in TABLES}

    def dialog(self, name, first, default, cancel, width=WIDTH, height=HEIGHT, attributes=PAGE):
        self.rows["Dialog"].append(
            [name, 50, 50, width, height, attributes, TITLE, first, default, cancel])

    def control(self, dialog, name, kind, x, y, width, height, attributes=SHOWN | ENABLED,
                text="", following="", prop=""):
        self.rows["Control"].append(
            [dialog, name, kind, x, y, width, height, attributes, prop, text, following, ""])

    def event(self, dialog, control, *events):
        for ordering, (event, argument) in enumerate(events, 1):
            self.rows["ControlEvent"].append([dialog, control, event, argument, "1", ordering])

    def page(self, dialog, heading, text, buttons, heading_if_removing=None, text_if_removing=None,
             tab_after=None):
        """A wizard page: a heading, a text, a line and push buttons on the
        right, the first of them the default, in Tab order, then tab_after.
        Each button is (name, caption, events); a page that tells installing
        from removing holds both texts and shows one."""
        for name, value, other, y, height in (("Heading", heading, heading_if_removing, 15, 24),
                                              ("Text", text, text_if_removing, 45, 35)):
            style = r"{\TrelvanixHeading}" if name == "Heading" else ""
            self.control(dialog, name, "Text", 20, y, 330, height, text=style + value)
            if other:
                self.control(dialog, name + "Removing", "Text", 20, y, 330, height, ENABLED,
                             style + other)
                self.rows["ControlCondition"] += [[dialog, name, "Hide", REMOVING],
                                                  [dialog, name + "Removing", "Show", REMOVING]]
        self.control(dialog, "Line", "Line", 0, 234, WIDTH, 0, SHOWN)
        names = [name for name, _, _ in buttons] + [tab_after or buttons[0][0]]
        for at, (name, caption, events) in enumerate(buttons):
            x = 304 - 68 * (len(buttons) - 1 - at)
            self.control(dialog, name, "PushButton", x, 243, 56, 17, text=caption,
                         following=names[at + 1])
            self.event(dialog, name, *events)

    def write(self, folder):
        for name, (columns, types, keys) in TABLES.items():
            lines = ["\t".join(columns), "\t".join(types), "\t".join([name] + keys)]
            for row in self.rows[name]:
                cells = [str(cell) for cell in row]
                assert not any(set("\t\r\n") & set(cell) for cell in cells), row
                lines.append("\t".join(cells))
            (folder / f"{name}.idt").write_text("\r\n".join(lines) + "\r\n", encoding="ascii")


def install_pages(t, licence):
    cancel = ("Cancel", "Cancel", [("SpawnDialog", "CancelDlg")])
    t.dialog("WelcomeDlg", "Install", "Install", "Cancel")
    t.page("WelcomeDlg", "Welcome to [ProductName] [ProductVersion]",
           "Setup installs [ProductName] for you alone, in your own programs folder, and adds it "
           "to the Start menu; it needs no administrator. [ProductName] is free software, and "
           "you may pass it on under this licence:",
           [("Install", "&Install", [("EndDialog", "Return")]), cancel], tab_after="Licence")
    t.control("WelcomeDlg", "Licence", "ScrollableText", 20, 85, 330, 140,
              SHOWN | ENABLED | SUNKEN, rtf(licence), "Install")

    # A double-click on the package once it is installed: there is nothing
    # to change or repair, so removing is all it offers.
    t.dialog("MaintenanceDlg", "Remove", "Remove", "Cancel")
    t.page("MaintenanceDlg", "Remove [ProductName]?",
           "[ProductName] [ProductVersion] is installed. Removing it takes away its files and "
           "its Start menu shortcut; your options stay, for when you install it again.",
           [("Remove", "&Remove", [("[REMOVE]", "ALL"), ("EndDialog", "Return")]), cancel])

    # No default button: a Return meant for the page before must not cancel.
    t.dialog("ProgressDlg", "Cancel", "", "Cancel", attributes=VISIBLE | MINIMIZE)
    t.page("ProgressDlg", "Installing [ProductName]", "This takes a moment.", [cancel],
           "Removing [ProductName]")
    t.control("ProgressDlg", "ActionText", "Text", 20, 100, 330, 12)
    t.control("ProgressDlg", "ProgressBar", "ProgressBar", 20, 115, 330, 12, SHOWN | BLOCKS,
              "Progress")
    t.rows["EventMapping"] += [["ProgressDlg", "ActionText", "ActionText", "Text"],
                               ["ProgressDlg", "ProgressBar", "SetProgress", "Progress"]]


def end_pages(t):
    """Done, cancelled, failed: each ends the sequence as it says."""
    def finish(result):
        return [("Finish", "&Finish", [("EndDialog", result)])]
    t.dialog("ExitDlg", "Finish", "Finish", "Finish")
    t.page("ExitDlg", "[ProductName] is installed",
           "Start it from the Start menu: [ProductName].", finish("Return"),
           "[ProductName] is removed",
           "Its files and its shortcut are gone; your options stay, for when you install it "
           "again.")
    t.dialog("UserExitDlg", "Finish", "Finish", "Finish")
    t.page("UserExitDlg", "Setup was cancelled",
           "Nothing was changed: [ProductName] is as it was before.", finish("Exit"))
    t.dialog("FatalErrorDlg", "Finish", "Finish", "Finish")
    t.page("FatalErrorDlg", "Setup failed",
           "An error ended the setup of [ProductName] before it was done, and nothing was "
           "changed. To learn why, run it again as msiexec /i PACKAGE /l*v LOGFILE and read "
           "the log.",
           finish("Exit"))


def boxes(t):
    t.dialog("CancelDlg", "No", "No", "No", 260, 85, VISIBLE | MODAL)
    t.control("CancelDlg", "Text", "Text", 20, 15, 220, 30,
              text="Cancel the setup of [ProductName]?")
    for name, caption, x, result, following in (("Yes", "&Yes", 72, "Exit", "No"),
                                                ("No", "&No", 132, "Return", "Yes")):
        t.control("CancelDlg", name, "PushButton", x, 57, 56, 17, text=caption,
                  following=following)
        t.event("CancelDlg", name, ("EndDialog", result))

    # The installer's messages: it shows only the buttons a message needs,
    # by these names, and arranges them itself.
    t.dialog("ErrorDlg", "ErrorText", "O", "C", 270, 105, VISIBLE | MODAL | ERROR)
    t.control("ErrorDlg", "ErrorText", "Text", 20, 15, 230, 55)
    for name, caption, result in (("A", "&Abort", "ErrorAbort"), ("C", "&Cancel", "ErrorCancel"),
                                  ("I", "&Ignore", "ErrorIgnore"), ("N", "&No", "ErrorNo"),
                                  ("O", "&OK", "ErrorOk"), ("R", "&Retry", "ErrorRetry"),
                                  ("Y", "&Yes", "ErrorYes")):
        t.control("ErrorDlg", name, "PushButton", 107, 80, 56, 17, text=caption)
        t.event("ErrorDlg", name, ("EndDialog", result))

    # An upgrade or a removal while the program runs.
    t.dialog("FilesInUse", "Retry", "Retry", "Exit")
    t.page("FilesInUse", "Files in use",
           "These programs use files that setup must change. Close them and choose Retry, or "
           "choose Ignore to go on and restart Windows afterwards.",
           [("Retry", "&Retry", [("EndDialog", "Retry")]),
            ("Ignore", "&Ignore", [("EndDialog", "Ignore")]),
            ("Exit", "E&xit", [("EndDialog", "Exit")])], tab_after="List")
    t.control("FilesInUse", "List", "ListBox", 20, 100, 330, 120, SHOWN | ENABLED | SUNKEN,
              following="Retry", prop="FileInUseProcess")


def rows_of_wixl_tables():
    """SQL that adds to the tables wixl made: the pages' places in the
    sequences, the font and the error box."""
    properties = {"DefaultUIFont": "TrelvanixText", "ErrorDialog": "ErrorDlg"}
    # Negative numbers are the ends: -1 done, -2 cancelled, -3 failed.
    ends = [("ExitDlg", "", -1), ("UserExitDlg", "", -2), ("FatalErrorDlg", "", -3)]
    install = ends + [
        # Before the costing, which then knows what goes: Wine's installer
        # keeps the components that a first costing found staying.
        ("MaintenanceDlg", "Installed AND NOT REMOVE AND NOT REINSTALL AND NOT RESUME AND NOT PATCH",
         750),
        ("WelcomeDlg", "NOT Installed", 1250),
        ("ProgressDlg", "", 1280),
    ]
    # The installer's SQL has no escape for a quote.
    assert not any("'" in str(cell) for row in [*properties.items(), *install] for cell in row)
    queries = [f"INSERT INTO `Property` (`Property`, `Value`) VALUES ('{name}', '{value}')"
               for name, value in properties.items()]
    for table, rows in (("InstallUISequence", install), ("AdminUISequence", ends)):
        queries += [f"INSERT INTO `{table}` (`Action`, `Condition`, `Sequence`) "
                    f"VALUES ('{action}', '{condition}', {sequence})"
                    for action, condition, sequence in rows]
    return queries


def main(arguments):
    if arguments == ["rtf"]:
        sys.stdout.write(rtf(sys.stdin.read()))
        return 0
    if len(arguments) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    licence, folder = pathlib.Path(arguments[0]), pathlib.Path(arguments[1])
    tables = Tables()
    install_pages(tables, licence.read_text(encoding="utf-8"))
    end_pages(tables)
    boxes(tables)
    tables.rows["TextStyle"] += [["TrelvanixText", "Tahoma", 8, "", ""],
                                 ["TrelvanixHeading", "Tahoma", 12, "", 1]]
    tables.write(folder)
    (folder / "rows.sql").write_text("\n".join(rows_of_wixl_tables()) + "\n", encoding="ascii")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
