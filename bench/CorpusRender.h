// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ReadingCorpus.h"

#include <QImage>

// One post of the reading corpus as its application would show it.
QImage renderCorpusPost(const tavolen::test::CorpusPost &post);
