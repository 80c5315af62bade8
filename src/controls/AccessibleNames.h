#pragma once

class QWidget;

// Buttons that show only a picture tell a screen reader their hint as their
// name. For every such button below `root` that has no name yet.
void NameIconButtons(QWidget* root);

// The month calendar speaks through an interface of its own: its name, the
// chosen date as its value, and its days as cells. Installed once.
void InstallCalendarAccessibility();
