#pragma once

#include <QString>

namespace tolvex {

// Where "Finish" puts the application file.
struct ApplicationPlace {
    // The program's own folder: the designed road writes <nick>.app there.
    QString programDirectory;
    // The program runs from the folder it is installed into, a system folder that is no place for
    // an applicant's file (and that root could write into): the applicant is asked where to save.
    bool asksWhere = false;
};

// The place of this run of the program: asksWhere when it runs from the install's bin folder.
ApplicationPlace applicationPlaceOfProgram();

// Where the save dialog opens: the user's documents folder where it exists, else the home folder,
// which the account database gives where HOME is not set; never "/".
QString documentsFolder();

}  // namespace tolvex
