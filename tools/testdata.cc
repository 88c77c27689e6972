#include "tools/testdata.h"

namespace nvcdata {

Sources smallSources() {
  return Sources{
      CsvTable::parse("nvc_code,taxon,constancy,absolute_frequency,min_domin,mean_domin,max_domin\n"
                      "W1,Fraxinus excelsior (c),2,5,1,4,9\n"
                      "W1,Fraxinus excelsior (g),4,9,1,1,3\n"
                      "A10,Hypnum cupressiforme var. lacunosum,1,1,1,1,2\n"
                      "A10,Hypnum cupressiforme,3,4,1,1,1\n"
                      "A2a,Lemna minor,5,9,4,8,10\n"
                      "CG2b,Fucus vesiculosus,1,1,1,1,1\n"
                      "A2,Lemna minor,5,20,3,6,8\n"
                      "SM12a,Lemna minor,2,3,2,2,2\n"
                      "CG2a,Cladonia,2,3,1,2,4\n"
                      "CG2,Betula pendula x pubescens = B. x aurata (s),1,1,5,5,5\n"
                      "SM12,Lemna minor,1,1,1,1,1\n",
                      "floristic_tables.csv"),
      CsvTable::parse("nvc_code,parent,rank,name,fullname,num_samples\n"
                      "A,,type,Aquatic communities,Aquatic communities,0\n"
                      "A2,A,community,Lemna minor community,Lemna minor community,25\n"
                      "A2a,A2,subcommunity,typical subcommunity,\"Lemna minor, typical\",14\n"
                      "A10,A,community,Polygonum amphibium community,x,3\n"
                      "W1,W,community,Salix cinerea-Galium palustre woodland,x,1\n"
                      "SM12,SM,community,Rayed Aster tripolium stands,x,1\n"
                      "CG2,CG,community,Festuca ovina-Avenula pratensis grassland,x,1\n"
                      "CG2b,CG2,subcommunity,Succisa pratensis subcommunity,x,1\n"
                      "CG2a,CG2,subcommunity,Cirsium acaule subcommunity,x,1\n",
                      "units.csv"),
      CsvTable::parse("taxon,group\n"
                      "Fraxinus excelsior (c),vascular\n"
                      "Fraxinus excelsior (g),vascular\n"
                      "Hypnum cupressiforme,bryophyte\n"
                      "Hypnum cupressiforme var. lacunosum,bryophyte\n"
                      "Lemna minor,vascular\n"
                      "Fucus vesiculosus,alga\n"
                      "Cladonia,lichen\n"
                      "Betula pendula x pubescens = B. x aurata (s),vascular\n",
                      "taxa.csv"),
      CsvTable::parse("original_name,taxon\n"
                      "Fraxinus excelsior (c),Fraxinus excelsior (c)\n"
                      "Lemna minima,Lemna minor\n",
                      "name_lookup.csv"),
      CsvTable::parse("nvc_code,eunis_code,eunis_name,relationship\n"
                      "A2,C1.32,Free-floating eutrophic,overlaps with\n"
                      "A2,C1.22,Free-floating mesotrophic,is equal to\n"
                      "A10,C1.69,Rooted temporary,overlaps with\n"
                      "A10,C1.34,Rooted eutrophic,overlaps with\n"
                      "CG2,E1.26,Semi-dry,contains\n"
                      "CG2,E1.27,Very dry,is contained in\n"
                      "SM12,A2.556,Rayed Aster,relationship uncertain\n",
                      "eunis_correspondence.csv"),
      CsvTable::parse("name,taxon,reason\n", "synonyms.csv"),
      CsvTable::parse("name,taxon,also_means\n", "uksi_synonyms.csv"),
  };
}

}  // namespace nvcdata
