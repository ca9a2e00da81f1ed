/* The same as quorvelinde/button.h, under the name earlier versions gave it. */
#ifndef QUORVELINDE_BUTTON_WIN_H
#define QUORVELINDE_BUTTON_WIN_H

#include "quorvelinde/button.h"

#endif /* QUORVELINDE_BUTTON_WIN_H */
