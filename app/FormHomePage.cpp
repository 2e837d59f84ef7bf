#include "HomePage.h"
#include "frmTolvex.h"

namespace tolvex {

void frmTolvex::OpenHomePage() { homepage::openHomePage(); }

void frmTolvex::Label1_Click() { OpenHomePage(); }

}  // namespace tolvex
