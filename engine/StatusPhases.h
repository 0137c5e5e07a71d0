#pragma once
// The status-bar changes a run makes when it enters each phase, in the order the window shows them.
#include <cstdint>

#include "engine/RecoveryUi.h"

void ShowExtractionPhase(RecoveryUi& ui);
void ShowDuplicateRemovalPhase(RecoveryUi& ui);
void ShowRenamingPhase(RecoveryUi& ui);
void ShowEndPhase(RecoveryUi& ui);

// part / whole × 100 to the nearest integer, halves to the even neighbour.
int RoundPercent(double part, double whole);
// prgStatus and lblPercent together.
void ShowPercent(RecoveryUi& ui, int percent);
