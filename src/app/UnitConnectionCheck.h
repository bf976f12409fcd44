#pragma once

/** The check the store, recall and save-all commands start with: true when the application has a
    device watcher whose connection reports a unit; otherwise the modal "No Connection..." message
    runs and the answer is false. GUI thread. */
bool CheckUnitConnection();
