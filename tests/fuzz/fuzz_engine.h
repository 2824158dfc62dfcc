#pragma once
// What the fuzz targets share: one quiet engine per process on a temporary program folder (in
// memory where the system has /dev/shm), whose boxes and log go nowhere, and a way to put an input
// into a file of that folder for the readers that take their files from it.
#include <cstddef>
#include <cstdint>
#include <string>

class QOXEngine;

QOXEngine& FuzzEngine();
// Writes the input as the file `relativeName` of the program folder; returns its path.
std::string WriteProgramFile(const std::string& relativeName, const std::uint8_t* data, std::size_t size);
// Stops the run with a crash the fuzzer records when a reader breaks a promise.
void Require(bool promise, const char* what);
