// Placement shared by the floating panels a sales screen hosts.
#pragma once

class QWidget;

// Moves `panel` so that it is centred on `centro` (a widget of the same host; on the whole host
// when null), and kept inside its host wherever `centro` is.
void centrarEnHost(QWidget *panel, const QWidget *centro);
