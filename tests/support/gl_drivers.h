#pragma once
// Mesa unmaps its driver modules at exit, after which the leak checker takes the memory they still
// reference for leaks. Tests that made a GL context keep those modules mapped to the end.
void KeepGLDriversLoaded();
