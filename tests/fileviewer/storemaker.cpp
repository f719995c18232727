#include "storemaker.h"

#include "fixtures/tempdir.h"
#include "sim/simpicture.h"
#include "store/picturestore.h"

#include <array>
#include <filesystem>
#include <vector>

CStoreMaker::CStoreMaker(std::string strScratch) : m_strScratch(std::move(strScratch))
{
}

const std::string& CStoreMaker::Jpeg(int nCamera)
{
    auto it = m_jpeg.find(nCamera);
    if (it == m_jpeg.end()) {
        std::vector<std::uint8_t> rgb(CSimPicture::FRAME_BYTES);
        CSimPicture::Render(nCamera, SimDateTime {2004, 1, 23, 12, 0, 0}, 0, rgb.data());
        it = m_jpeg.emplace(nCamera, CSimPicture::Encode(rgb.data())).first;
    }
    return it->second;
}

const std::string& CStoreMaker::SourceFile(int nCamera)
{
    auto it = m_source.find(nCamera);
    if (it == m_source.end()) {
        const std::string strPath = m_strScratch + "/source" + std::to_string(nCamera) + ".jpg";
        std::filesystem::create_directories(m_strScratch);
        WriteAll(strPath, Jpeg(nCamera));
        it = m_source.emplace(nCamera, strPath).first;
    }
    return it->second;
}

std::vector<std::string> CStoreMaker::Add(const std::string& strEventFolder, int nCamera, const SimDateTime& t,
                                          int nCount, int nPerSecond, int nStepSeconds)
{
    std::filesystem::create_directories(strEventFolder);
    CPictureStore store(strEventFolder);
    std::vector<std::string> paths;
    std::array<std::uint8_t, CSimPicture::INFO_SIZE> info {};
    for (int i = 0; i < nCount; ++i) {
        const SimDateTime when = t.AddSeconds(static_cast<long long>(i / nPerSecond) * nStepSeconds);
        CSimPicture::MakeInfo(nCamera, when, i % nPerSecond, info.data());
        if (store.SavePicture(info.data(), info.size(), SourceFile(nCamera), false)
            == CPictureStore::SaveResult::Written)
            paths.push_back(store.LastWritten());
    }
    return paths;
}

std::string PicturePath(const std::string& strEventFolder, int nCamera, const SimDateTime& t, int nFrame)
{
    std::array<std::uint8_t, CSimPicture::INFO_SIZE> info {};
    CSimPicture::MakeInfo(nCamera, t, nFrame, info.data());
    return CPictureStore(strEventFolder).PicturePath(info.data(), info.size());
}
