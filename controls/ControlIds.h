#pragma once
// Control ids shared by the dialogs and their tests.
