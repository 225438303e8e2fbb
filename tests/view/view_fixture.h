// The program running on a file, with the view's settings, size, scroll
// bars and a paint on the recording surface at hand.
#pragma once

#include "app/app_fixture.h"
#include "render/charpainter.h"
#include "support/gdi_recorder.h"
#include "view/tavoview.h"

#include <QScrollBar>

#include <string>
#include <vector>

class ViewTest : public AppTest {
protected:
    // Starts the program on a file with the given text and settings.
    void Open(const std::string& text, BYTE flags = 0, WORD wrap = ENV_WRAP_NONE | 80) {
        ASSERT_TRUE(Start({WriteFile("doc.jis", text)}));
        Env().bFlags = flags;
        Env().wWrap = wrap;
        View()->OnUpdate(nullptr, 0, nullptr);
    }

    EnvSettings& Env() const { return app->m_envStore.m_env; }
    CTAVOView* TavoView() const { return static_cast<CTAVOView*>(View()); }

    SIZE Cell(CDC& dc) const {
        CCharPainter painter(&dc, &Env());
        painter.Restore();
        return {LONG(painter.m_cxCell), LONG(painter.m_cyCell)};
    }

    // Sizes the main window so that the view's client area is cols x rows
    // cells of the window's own fonts.
    void ResizeClient(int cols, int rows) {
        CClientDC dc(View());
        const int width = cols * Cell(dc).cx;
        const int height = rows * Cell(dc).cy;
        QWidget* window = Frame()->GetMainWindow();
        for (int attempt = 0; attempt < 3; ++attempt) {
            RECT client;
            View()->GetClientRect(&client);
            window->resize(window->width() + width - client.right,
                           window->height() + height - client.bottom);
            TestApplication().processEvents();
        }
        RECT client;
        View()->GetClientRect(&client);
        ASSERT_EQ(client.right, width);
        ASSERT_EQ(client.bottom, height);
    }

    SCROLLINFO Bar(int nBar) const {
        SCROLLINFO info = {};
        View()->GetScrollInfo(nBar, &info);
        return info;
    }

    QScrollBar* QtBar(Qt::Orientation orientation) const {
        for (QScrollBar* bar : View()->GetOuterWidget()->findChildren<QScrollBar*>()) {
            if (bar->orientation() == orientation) {
                return bar;
            }
        }
        return nullptr;
    }

    // Paints the view onto a recorder, as a paint message would; cell
    // receives the recorder's cell size.
    std::vector<GdiRecord> Draw(SIZE* cell = nullptr) const {
        GdiRecorder recorder;
        CDC dc;
        AttachRecorder(&dc, &recorder);
        View()->OnDraw(&dc);
        if (cell != nullptr) {
            *cell = Cell(dc);
        }
        return recorder.m_records;
    }
};
