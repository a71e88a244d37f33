// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/ModelChoice.h"
#include "service/ConfigLoader.h"
#include "service/EngineFactory.h"
#include "support/Scratch.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tavolen::service;

// ModelChoice: model.toml, written by the app, over service.toml and under
// the environment.

namespace {

struct Files {
    QTemporaryDir dir;
    void write(const char *name, const QByteArray &text)
    {
        tavolen::test::writeFile(dir.filePath(QLatin1String(name)), text);
    }
    ConfigLoad load(const QProcessEnvironment &env = {})
    {
        return loadConfig(dir.filePath(QStringLiteral("service.toml")), env);
    }
};

const QByteArray kServiceModel =
    "[llm]\nbase_url = \"https://a.example/v1\"\nmodel = \"a\"\napi_key = \"k-a\"\n";

} // namespace

TEST(ModelChoice, ChoosesOverServiceTomlAndUnderTheEnvironment)
{
    const char *keyringModel =
        "engine = \"llm\"\n[llm]\nbase_url = \"http://h/v1\"\nmodel = \"m\"\napi_key = "
        "\"keyring\"\nvision = true\n";
    struct Case {
        const char *what, *modelToml; // "": no model.toml
        const char *env;              // NAME=value, a space between
        const char *engine, *baseUrl, *model, *key;
        ApiKeySource source;
    };
    const QList<Case> cases = {
        {"no model.toml: service.toml as it is", "", "", "llm:a", "https://a.example/v1", "a", "k-a",
         ApiKeySource::Given},
        {"another endpoint gets no key of service.toml's",
         "engine = \"llm\"\n[llm]\nbase_url = \"http://127.0.0.1:11434/v1\"\nmodel = \"qwen2.5:7b\"\n", "",
         "llm:qwen2.5:7b", "http://127.0.0.1:11434/v1", "qwen2.5:7b", "", ApiKeySource::Given},
        {"the key from the keyring", keyringModel, "", "llm:m", "http://h/v1", "m", "",
         ApiKeySource::Keyring},
        {"the key from the key file", "[llm]\napi_key = \"file\"\n", "", "llm:a", "https://a.example/v1", "a",
         "", ApiKeySource::File},
        {"another model at the same endpoint keeps its key", "[llm]\nmodel = \"b\"\n", "", "llm:b",
         "https://a.example/v1", "b", "k-a", ApiKeySource::Given},
        {"offline, though service.toml names a model", "engine = \"offline\"\n", "", "offline",
         "https://a.example/v1", "a", "k-a", ApiKeySource::Given},
        {"the environment wins", keyringModel,
         "TAVOLEN_SERVICE_LLM_MODEL=env-model TAVOLEN_SERVICE_LLM_API_KEY=k-env", "llm:env-model",
         "http://h/v1", "env-model", "k-env", ApiKeySource::Given},
    };
    for (const Case &c : cases) {
        Files files;
        files.write("service.toml", kServiceModel);
        if (*c.modelToml)
            files.write("model.toml", c.modelToml);
        QProcessEnvironment env;
        for (const QString &setting : QString::fromLatin1(c.env).split(' ', Qt::SkipEmptyParts))
            env.insert(setting.section('=', 0, 0), setting.section('=', 1));
        const ConfigLoad load = files.load(env);
        ASSERT_TRUE(load.errors.isEmpty()) << c.what << ": " << load.errors.join('\n').toStdString();
        QString error;
        const std::unique_ptr<Engine> engine = makeEngine(load.config, error);
        ASSERT_TRUE(engine) << c.what << ": " << error.toStdString();
        EXPECT_EQ(engine->name(), c.engine) << c.what;
        EXPECT_EQ(load.config.llm.base_url, c.baseUrl) << c.what;
        EXPECT_EQ(load.config.llm.model, c.model) << c.what;
        EXPECT_EQ(load.config.llm.api_key, c.key) << c.what;
        EXPECT_EQ(load.config.apiKeySource, c.source) << c.what;
        EXPECT_EQ(load.config.llm.vision, c.modelToml == keyringModel)
            << c.what << ": whether it reads pictures";
    }
}

TEST(ModelChoice, ItsMistakesNameItsLineAndKeyAndOtherSettingsAreOnlyWarnings)
{
    Files files;
    files.write("model.toml", "# Written by Tavolen\n"
                              "engine = \"gpt\"\n"
                              "port = 9000\n"
                              "[llm]\n"
                              "base_url = \"ftp://h\"\n"
                              "model = \"m\"\n"
                              "api_key = \"sk-pasted-here\"\n");
    const ConfigLoad load = files.load();
    const QString path = files.dir.filePath(QStringLiteral("model.toml"));
    // Then the model left half chosen, its URL refused.
    ASSERT_EQ(load.errors.size(), 4) << load.errors.join('\n').toStdString();
    EXPECT_TRUE(load.errors[0].startsWith(path + QStringLiteral(":2: engine:")));
    EXPECT_TRUE(load.errors[1].startsWith(path + QStringLiteral(":5: llm.base_url:")));
    EXPECT_TRUE(load.errors[2].startsWith(path + QStringLiteral(":7: llm.api_key:")));
    EXPECT_TRUE(load.errors[3].startsWith(QStringLiteral("llm.model is set but llm.base_url is not")));
    EXPECT_FALSE(load.errors.join('\n').contains(QLatin1String("sk-pasted-here")))
        << "a pasted key is not quoted";
    ASSERT_EQ(load.warnings.size(), 1);
    EXPECT_TRUE(load.warnings[0].startsWith(path + QStringLiteral(":3: unknown key port")));
    EXPECT_EQ(load.config.port, 8765) << "the port is service.toml's to set";

    // One that is not TOML at all is refused at the reload, by its line (ServiceReload).
    Files folder;
    QDir(folder.dir.path()).mkdir(QStringLiteral("model.toml"));
    ASSERT_EQ(folder.load().errors.size(), 1);
    EXPECT_TRUE(folder.load().errors[0].endsWith(QStringLiteral("model.toml: not a regular file")));
}
