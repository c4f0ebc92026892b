#include "ui/main/tests/user_input.h"

#include "ui/main/button_bar.h"
#include "ui/main/main_form.h"
#include "ui/widgets/ui_text.h"
#include "ui/widgets/w_image_button.h"

bool chooseMenuItem(MainForm* form, wordbay::TextId text) {
    return user_input::chooseMenuItem(form, uiText(text));
}

bool clickButton(MainForm* form, int id) {
    return user_input::clickButton(form->buttonBar()->button(id));
}
