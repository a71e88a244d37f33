// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include <vector>

namespace tavolen::models {

// A model server people commonly run on their own machine, and where it
// listens by default.
struct KnownServer {
    QString name; // as its users know it: "Ollama", "llama.cpp"
    int port = 0;
    // Ollama also lists its models on its own endpoint, with their full tags.
    bool ollamaApi = false;
};

// Ollama, llama.cpp's llama-server, LM Studio and vLLM at their default ports.
const std::vector<KnownServer> &knownServers();

// A server that answered, with the models it offers.
struct ModelServer {
    QString name;
    // The OpenAI-compatible base, ".../v1": what the service is pointed at.
    QUrl baseUrl;
    QStringList models;
};

// What the service is to use: a model at an OpenAI-compatible endpoint.
struct ModelEndpoint {
    QUrl baseUrl;
    QString model;
    QString apiKey; // empty: none
    // It reads pictures: the service then sends the screenshot and asks it
    // at once, without waiting for the text to be recognised.
    bool readsPictures = false;
};

} // namespace tavolen::models
