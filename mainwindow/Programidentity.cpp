#include "mainwindow/Programidentity.h"
