// Helpers of the container tests: the form and grid modules registered in a registry of the
// test's own, and a copy of the sample database.
#pragma once

#include <gtest/gtest.h>

#include <QDebug>
#include <QVariant>
#include <cstdlib>
#include <ostream>
#include <string>

#include "platform/ado/ado.h"
#include "platform/com/module_loader.h"
#include "tests/platform/com/temp_registry.h"
#include "tests/temp_folder.h"

// Test failures show QVariants as Qt's debug stream writes them.
inline void PrintTo(const QVariant& value, std::ostream* out) {
    QString text;
    QDebug(&text) << value;
    *out << text.toStdString();
}

// A registry of the folder's own holding the form and grid controls and the data-access
// classes, made the source of classes.
class RegisteredControls : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("QOR_REGISTRY", folder.File("registry").c_str(), 1);  // NOLINT
        RegisterAdoClasses();
        ASSERT_TRUE(RegisterModule(QOR_FORM_MODULE));
        ASSERT_TRUE(RegisterModule(QOR_GRID_MODULE));
        UseClassRegistry();
    }
    void TearDown() override { unsetenv("QOR_REGISTRY"); }  // NOLINT

    std::string SampleCopy() const {
        return folder.Copy(std::getenv("QOR_SAMPLE_DB"), "sample.db");  // NOLINT
    }

    TempFolder folder;
};
