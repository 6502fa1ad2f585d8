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
/* Keyboard focus in amber, which no other state uses. */
QPushButton:focus, QLineEdit:focus {
    border: 2px solid #f0b429;
}
QRadioButton:focus, QCheckBox:focus {
    color: #f0b429;
}
QPushButton:focus, QRadioButton:focus, QCheckBox:focus {
    outline: none;
}
QPushButton:focus {
    padding: 2px 9px;
}
QLineEdit, QTreeView, QListView, QHeaderView::section {
    background-color: #15202b;
    border: 1px solid #3d5a73;
    selection-background-color: #2f6f9f;
}
/* A disabled box sinks into the window, its text dimmed and its frame dashed. */
QLineEdit:disabled {
    background-color: #1f2a36;
    border: 1px dashed #3d5a73;
    color: #7d8b99;
}
QToolTip {
    background-color: #15202b;
    color: #e6edf3;
    border: 1px solid #4a90c2;
}
/* Unchecked marks are hollow with a light frame, checked ones filled. */
QCheckBox::indicator, QTreeView::indicator, QRadioButton::indicator {
    width: 11px;
    height: 11px;
    border: 1px solid #8fb3d1;
    background-color: #15202b;
}
QRadioButton::indicator {
    border-radius: 6px;
}
QCheckBox::indicator:checked, QTreeView::indicator:checked {
    border-color: #e6edf3;
    background-color: #4a90c2;
    image: none;
}
QRadioButton::indicator:checked {
    border-color: #e6edf3;
    background-color: qradialgradient(cx: 0.5, cy: 0.5, radius: 0.5, fx: 0.5, fy: 0.5,
        stop: 0 #e6edf3, stop: 0.45 #e6edf3, stop: 0.55 #4a90c2, stop: 1 #4a90c2);
}
