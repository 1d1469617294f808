#pragma once
// The open-file dialog's detail view, opened wide enough that its size, type and date columns
// read whole for ordinary entries.
class QFileDialog;

// Widens the size, type and date columns to their headers and to the texts the listing gives
// ordinary files, and the dialog so that the view shows them beside the name column; never
// beyond the screen's available area. Call before the dialog shows.
void OpenWideEnoughForColumns(QFileDialog& dialog);
