// The configuration dialog on Linux, in GTK 3: the controls of the Windows
// dialog placed at the same dialog-unit coordinates on a fixed layout. The
// rules for what a control shows and what OK stores live in
// dialog_controls.cpp; this file only moves values in and out of widgets.
#include <gtk/gtk.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "shell/config_dialog.h"
#include "shell/dialog_controls.h"
#include "shell/settings_store.h"

namespace {

// Dialog units to pixels. The Windows dialog font gives about 1.5 by 1.6
// pixels a unit; GTK's widgets and default font are larger, so the layout is
// scaled up a little more to keep the controls from overlapping.
constexpr double PixelsPerUnitX = 2.1;
constexpr double PixelsPerUnitY = 2.1;

// Position and size in dialog units.
struct Place {
    int x, y, w, h;
};

struct Dialog {
    GtkWidget* window = nullptr;
    GtkFixed* layout = nullptr;
    GtkWidget* ok = nullptr;
    GtkWidget* cancel = nullptr;
    GtkWidget* number = nullptr;
    GtkWidget* rotateSpeed = nullptr;
    GtkWidget* travelSpeed = nullptr;
    GtkWidget* cycleLength = nullptr;
    GtkWidget* text = nullptr;
    GtkWidget* background = nullptr;
    GtkWidget* textOn = nullptr;
    GtkWidget* rotateX = nullptr;
    GtkWidget* rotateY = nullptr;
    GtkWidget* rotateZ = nullptr;
    bool finished = false;
};

int Pixels(int units, double scale)
{
    return static_cast<int>(std::lround(units * scale));
}

GtkWidget* Put(Dialog& dialog, GtkWidget* widget, Place place)
{
    gtk_widget_set_size_request(widget, Pixels(place.w, PixelsPerUnitX), Pixels(place.h, PixelsPerUnitY));
    gtk_fixed_put(dialog.layout, widget, Pixels(place.x, PixelsPerUnitX), Pixels(place.y, PixelsPerUnitY));
    return widget;
}

void PutLabel(Dialog& dialog, const char* text, Place place)
{
    GtkWidget* label = gtk_label_new(text);
    gtk_label_set_xalign(GTK_LABEL(label), 0.0f);
    gtk_label_set_yalign(GTK_LABEL(label), 0.0f);
    Put(dialog, label, place);
}

GtkWidget* PutSlider(Dialog& dialog, SliderRange range, int value, Place place)
{
    GtkWidget* slider = gtk_scale_new_with_range(GTK_ORIENTATION_HORIZONTAL, range.Minimum, range.Maximum, 1);
    // Like a trackbar: no value drawn, whole steps, a page a fifth of the
    // range or one tick interval.
    gtk_scale_set_draw_value(GTK_SCALE(slider), FALSE);
    gtk_scale_set_digits(GTK_SCALE(slider), 0);
    gtk_range_set_round_digits(GTK_RANGE(slider), 0);
    const int page = range.TickFrequency > 0 ? range.TickFrequency : std::max(1, (range.Maximum - range.Minimum) / 5);
    gtk_range_set_increments(GTK_RANGE(slider), 1, page);
    if (range.TickFrequency > 0) {
        for (int mark = range.Minimum; mark <= range.Maximum; mark += range.TickFrequency) {
            gtk_scale_add_mark(GTK_SCALE(slider), mark, GTK_POS_BOTTOM, nullptr);
        }
    }
    gtk_range_set_value(GTK_RANGE(slider), value);
    return Put(dialog, slider, place);
}

GtkWidget* PutCheck(Dialog& dialog, const char* label, bool checked, Place place)
{
    GtkWidget* check = gtk_check_button_new_with_label(label);
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(check), checked);
    return Put(dialog, check, place);
}

int SliderValue(GtkWidget* slider)
{
    return static_cast<int>(std::lround(gtk_range_get_value(GTK_RANGE(slider))));
}

bool Checked(GtkWidget* check)
{
    return gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(check));
}

void BuildControls(Dialog& dialog, const DialogControlsRecord& controls)
{
    // Template order. The group box comes before the controls inside it so
    // that they are drawn over its frame.
    dialog.ok = Put(dialog, gtk_button_new_with_label("OK"), {130, 5, 50, 14});
    PutLabel(dialog, "Galaxies, stars and 3D text", {10, 20, 122, 8});
    PutLabel(dialog, "Orinthal team", {10, 30, 76, 10});
    PutLabel(dialog, "Star Numbers", {13, 138, 47, 8});
    PutLabel(dialog, "Orinthal Screen Saver", {10, 5, 98, 8});
    dialog.cancel = Put(dialog, gtk_button_new_with_label("CANCEL"), {130, 25, 50, 14});
    dialog.number = PutSlider(dialog, NumberRange, controls.Number, {61, 132, 112, 20});
    PutLabel(dialog, "v 1.00", {90, 30, 21, 8});
    PutLabel(dialog, "1000", {67, 153, 17, 8});
    PutLabel(dialog, "5000", {149, 153, 20, 8});
    dialog.background = PutCheck(dialog, "Background", controls.Background, {13, 60, 55, 10});
    Put(dialog, gtk_frame_new("Flying 3DText "), {10, 161, 165, 47});
    dialog.textOn = PutCheck(dialog, "3D Text", controls.TextOn, {13, 174, 41, 10});
    dialog.text = Put(dialog, gtk_entry_new(), {59, 172, 112, 14});
    gtk_entry_set_max_length(GTK_ENTRY(dialog.text), TextEditLimit);
    gtk_entry_set_text(GTK_ENTRY(dialog.text), controls.Text.c_str());
    gtk_entry_set_width_chars(GTK_ENTRY(dialog.text), 1);
    dialog.rotateX = PutCheck(dialog, "X Rotation", controls.RotateX, {13, 191, 49, 10});
    dialog.rotateY = PutCheck(dialog, "Y Rotation", controls.RotateY, {66, 191, 49, 10});
    dialog.rotateZ = PutCheck(dialog, "Z Rotation", controls.RotateZ, {119, 191, 49, 10});
    dialog.rotateSpeed = PutSlider(dialog, RotateSpeedRange, controls.RotateSpeed, {7, 97, 84, 15});
    PutLabel(dialog, "Rotation Speed", {14, 86, 69, 8});
    PutLabel(dialog, "Slow", {14, 114, 25, 8});
    PutLabel(dialog, "Fast", {69, 114, 20, 8});
    PutLabel(dialog, "Credits: see CREDITS.md", {7, 43, 125, 8});
    PutLabel(dialog, "Travel Speed", {101, 86, 72, 8});
    dialog.travelSpeed = PutSlider(dialog, TravelSpeedRange, controls.TravelSpeed, {94, 98, 79, 15});
    PutLabel(dialog, "Cycle", {73, 61, 18, 8});
    dialog.cycleLength = PutSlider(dialog, CycleLengthRange, controls.CycleLength, {94, 58, 79, 15});
    PutLabel(dialog, "Slow", {101, 114, 25, 8});
    PutLabel(dialog, "Fast", {152, 114, 20, 8});
    PutLabel(dialog, "Short", {101, 74, 18, 8});
    PutLabel(dialog, "Long", {147, 74, 17, 8});

    // Tab order follows the template, not the layout's geometry.
    GList* chain = nullptr;
    for (GtkWidget* widget : {dialog.ok, dialog.cancel, dialog.number, dialog.background, dialog.textOn, dialog.text,
                              dialog.rotateX, dialog.rotateY, dialog.rotateZ, dialog.rotateSpeed, dialog.travelSpeed,
                              dialog.cycleLength}) {
        chain = g_list_append(chain, widget);
    }
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    gtk_container_set_focus_chain(GTK_CONTAINER(dialog.layout), chain);
#pragma GCC diagnostic pop
    g_list_free(chain);
}

DialogControlsRecord ReadControls(const Dialog& dialog)
{
    DialogControlsRecord controls{};
    controls.Number = SliderValue(dialog.number);
    controls.RotateSpeed = SliderValue(dialog.rotateSpeed);
    controls.TravelSpeed = SliderValue(dialog.travelSpeed);
    controls.CycleLength = SliderValue(dialog.cycleLength);
    controls.Text = gtk_entry_get_text(GTK_ENTRY(dialog.text));
    controls.Background = Checked(dialog.background);
    controls.TextOn = Checked(dialog.textOn);
    controls.RotateX = Checked(dialog.rotateX);
    controls.RotateY = Checked(dialog.rotateY);
    controls.RotateZ = Checked(dialog.rotateZ);
    return controls;
}

// Ends the dialog once; only a confirmed end touches the record and the store.
void Finish(Dialog& dialog, bool confirmed)
{
    if (dialog.finished) return;
    dialog.finished = true;
    if (confirmed) {
        SettingsFromControls(ReadControls(dialog), SaverSettings);
        SaveSettings();
    }
    gtk_main_quit();
}

void OnOk(GtkButton*, gpointer data)
{
    Finish(*static_cast<Dialog*>(data), true);
}

void OnCancel(GtkButton*, gpointer data)
{
    Finish(*static_cast<Dialog*>(data), false);
}

gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer data)
{
    Finish(*static_cast<Dialog*>(data), false);
    return TRUE;  // the window is destroyed after the main loop ends
}

// Escape cancels. Enter presses the focused push button and otherwise the
// default one, OK, wherever the focus is: a check box or slider with the
// focus does not take Enter for itself.
gboolean OnKeyPress(GtkWidget*, GdkEventKey* event, gpointer data)
{
    Dialog& dialog = *static_cast<Dialog*>(data);
    switch (event->keyval) {
    case GDK_KEY_Escape:
        Finish(dialog, false);
        return TRUE;
    case GDK_KEY_Return:
    case GDK_KEY_KP_Enter:
    case GDK_KEY_ISO_Enter:
        Finish(dialog, gtk_window_get_focus(GTK_WINDOW(dialog.window)) != dialog.cancel);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

int RunConfigurationDialog(int argc, char** argv)
{
    if (!gtk_init_check(&argc, &argv)) {
        const char* display = g_getenv("DISPLAY");
        if (display == nullptr || *display == '\0') {
            std::fprintf(stderr, "orinthal: cannot open the settings dialog: no X display (DISPLAY is not set)\n");
        } else {
            std::fprintf(stderr, "orinthal: cannot open the settings dialog: no X display at \"%s\"\n", display);
        }
        return 1;
    }

    LoadSettings();
    const DialogControlsRecord controls = ControlsFromSettings(SaverSettings);

    Dialog dialog;
    dialog.window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    GtkWindow* window = GTK_WINDOW(dialog.window);
    gtk_window_set_title(window, "Orinthal");
    gtk_window_set_resizable(window, FALSE);
    gtk_window_set_type_hint(window, GDK_WINDOW_TYPE_HINT_DIALOG);
    gtk_window_set_position(window, GTK_WIN_POS_CENTER);

    dialog.layout = GTK_FIXED(gtk_fixed_new());
    gtk_widget_set_size_request(GTK_WIDGET(dialog.layout), Pixels(187, PixelsPerUnitX), Pixels(215, PixelsPerUnitY));
    gtk_container_add(GTK_CONTAINER(window), GTK_WIDGET(dialog.layout));
    BuildControls(dialog, controls);

    gtk_widget_set_can_default(dialog.ok, TRUE);
    gtk_window_set_default(window, dialog.ok);

    g_signal_connect(dialog.ok, "clicked", G_CALLBACK(OnOk), &dialog);
    g_signal_connect(dialog.cancel, "clicked", G_CALLBACK(OnCancel), &dialog);
    g_signal_connect(dialog.window, "delete-event", G_CALLBACK(OnDelete), &dialog);
    g_signal_connect(dialog.window, "key-press-event", G_CALLBACK(OnKeyPress), &dialog);

    gtk_widget_show_all(dialog.window);
    // The focus starts on OK, the first tab stop, as in the template.
    gtk_widget_grab_focus(dialog.ok);
    gtk_main();
    gtk_widget_destroy(dialog.window);
    return 0;
}
