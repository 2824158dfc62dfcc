#pragma once
// Mesa unmaps its driver modules at exit, after which the leak checker takes the memory they still
// reference for leaks. Tests that made a GL context keep those modules mapped to the end; the
// leak checker then names Mesa's module, and what Mesa itself never frees is not reported.
void KeepGLDriversLoaded();
