#pragma once
// The program's windows, created once in their order and living for the
// run: the main window TForm3, the socket owner TForm1, the reply store
// TForm2, the attention window TForm4, the wait window TForm5, the request
// window TForm53 and the about window TForm54.
#include <memory>

#include "connection/gateway_link.h"
#include "datecs/ret_data.h"
#include "ui/about_form.h"
#include "ui/attention_form.h"
#include "ui/dialog_service.h"
#include "ui/main_form.h"
#include "ui/request_form.h"
#include "ui/wait_form.h"

namespace ejscope::ui {

// TForm1: a hidden window in the original layout, here a plain owner of the
// gateway connection.
struct TForm1 {
  std::unique_ptr<gateway_link> ClientSocket1;
};

// TForm2: the store of the latest replies of both drivers.
struct TForm2 {
  last_reply reply;
};

class application {
 public:
  application();
  ~application();

  // Shows the main window; its activation runs the start-up sequence.
  void start();

  TForm3 Form3;
  TForm1 Form1;
  TForm2 Form2;
  TForm4 Form4;
  TForm5 Form5;
  TForm53 Form53;
  TForm54 Form54;

 private:
  void wire_menus();
};

}  // namespace ejscope::ui
