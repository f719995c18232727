// Picture stores for the file viewer's tests, written as the program writes
// them: the simulator's recorder pictures (one JPEG per camera, encoded once)
// stored by the store writer under their camera, date and time.
#pragma once

#include "sim/simclock.h"

#include <map>
#include <string>
#include <vector>

class CStoreMaker {
public:
    // strScratch: a folder for the source pictures.
    explicit CStoreMaker(std::string strScratch);

    // Stores nCount pictures of camera nCamera in strEventFolder, from t on,
    // nPerSecond in each second (frame numbers 0, 1, ...), nStepSeconds apart.
    // Returns their paths in time order.
    std::vector<std::string> Add(const std::string& strEventFolder, int nCamera, const SimDateTime& t, int nCount,
                                 int nPerSecond = 1, int nStepSeconds = 1);

    // The JPEG bytes of camera nCamera's picture.
    const std::string& Jpeg(int nCamera);

private:
    const std::string& SourceFile(int nCamera);

    std::string m_strScratch;
    std::map<int, std::string> m_jpeg;
    std::map<int, std::string> m_source;
};

// The picture path the store writer gives camera nCamera's picture at t with
// frame number nFrame, below strEventFolder.
std::string PicturePath(const std::string& strEventFolder, int nCamera, const SimDateTime& t, int nFrame);
