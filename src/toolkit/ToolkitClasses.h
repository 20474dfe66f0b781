#pragma once

// Makes the size-to-fit classes known to interface files by their names.
void registerToolkitClasses();
