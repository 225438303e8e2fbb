// A painter on a recorder with the default settings: 9 pt at 96 dpi makes
// every font 12 pixels, so a cell is 6 x 12.
#pragma once

#include "render/charpainter.h"
#include "settings/envsettings.h"
#include "support/gdi_recorder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

inline EnvSettings DefaultSettings() {
    EnvStore store("/nowhere/tavo.exe");
    store.SetDefaults();
    return store.m_env;
}

inline const BYTE* Bytes(const std::string& text) {
    return reinterpret_cast<const BYTE*>(text.c_str());
}

class PainterTest : public ::testing::Test {
protected:
    void SetUp() override { AttachRecorder(&dc, &recorder); }

    // Builds the painter over a 400 x 200 paint rectangle at (10, 20) and
    // moves what set-up recorded aside.
    CCharPainter& Make() {
        painter = std::make_unique<CCharPainter>(&dc, &env);
        painter->m_rcPaint = {10, 20, 410, 220};
        setUp.swap(recorder.m_records);
        return *painter;
    }

    std::vector<GdiRecord> Ops(GdiOp op) const {
        std::vector<GdiRecord> found;
        for (const GdiRecord& record : recorder.m_records) {
            if (record.op == op && record.nSurface == 0) {
                found.push_back(record);
            }
        }
        return found;
    }
    std::vector<GdiRecord> Texts() const { return Ops(GdiOp::TextOut); }

    int X(int col) const { return 10 + col * 6; }
    int Y(int row) const { return 20 + row * 12; }

    void Run(CharSet set, int startCol, const std::string& bytes) {
        painter->DrawRun(set, startCol, 0, Bytes(bytes), int(bytes.size()));
    }

    EnvSettings env = DefaultSettings();
    GdiRecorder recorder;
    CDC dc;
    std::unique_ptr<CCharPainter> painter;
    std::vector<GdiRecord> setUp;
};
