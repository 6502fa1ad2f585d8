/*
 * SPDX-FileCopyrightText: 2026 The Trelvanix developers
 *
 * SPDX-License-Identifier: GPL-3.0-or-later
 */

/* An example skin: a Qt style sheet. Copy it to x/o.cjs beside the program
   (`make run SKIN=skins/o.cjs` does) and start the program. */
QWidget {
    background-color: #1f2a36;
    color: #e6edf3;
}
QGroupBox {
    border: 1px solid #3d5a73;
    border-radius: 4px;
    margin-top: 1.2em;
}
QGroupBox::title {
    subcontrol-origin: margin;
    left: 8px;
}
QPushButton {
    background-color: #2f6f9f;
    border: 1px solid #4a90c2;
    border-radius: 3px;
    padding: 3px 10px;
}
QPushButton:hover {
    background-color: #3b82b8;
}
QPushButton:pressed {
    background-color: #24577d;
}
QLineEdit, QTreeView, QListView, QHeaderView::section {
    background-color: #15202b;
    border: 1px solid #3d5a73;
    selection-background-color: #2f6f9f;
}
QToolTip {
    background-color: #15202b;
    color: #e6edf3;
    border: 1px solid #4a90c2;
}
QCheckBox::indicator, QTreeView::indicator {
    width: 11px;
    height: 11px;
    border: 1px solid #8fb3d1;
    background-color: #15202b;
}
QCheckBox::indicator:checked, QTreeView::indicator:checked {
    background-color: #4a90c2;
    image: none;
}
