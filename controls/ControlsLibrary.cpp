// Anchor of the controls library; each control lives in its own files beside it.
